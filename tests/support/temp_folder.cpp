#include "support/temp_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace oxlip::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "oxlip-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  path_ = pattern + "/";
  previous_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  // Tests make files read-only; give the owner its rights back so nothing is left behind.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::string& data) {
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << data;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace oxlip::test

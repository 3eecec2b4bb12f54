#include "support/mod_fixtures.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace oxlip::test {

int RunShell(const std::string& line) {
  int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int SevenZipProgram(const std::string& folder, const std::string& args) {
  return RunShell("set -f; cd '" + folder + "' && 7zz " + args + " -bso0 -bsp0 -bse0 >/dev/null");
}

int MakeZipWithPython(const std::string& args) {
  return RunShell("python3 '" OXLIP_SOURCE_DIR "/tests/mods/make_zip.py' " + args);
}

std::set<std::string> ProgramListing(const std::string& archive) {
  std::set<std::string> names;
  std::string line = "7zz l -slt -ba '" + archive + "' 2>/dev/null";
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return names;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe)) {
    std::string text = buffer;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.rfind("Path = ", 0) == 0) names.insert(text.substr(7));
  }
  pclose(pipe);
  return names;
}

std::set<std::string> TreeNames(const std::string& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = std::filesystem::relative(it->path(), folder).generic_string();
    names.insert(it->is_directory() ? name + "/" : name);
  }
  return names;
}

}  // namespace oxlip::test

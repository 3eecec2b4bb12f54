#include "support/mod_fixtures.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "support/jar_files.h"

namespace oxlip::test {

int MakeZipWithPython(const std::string& args) {
  int status =
      std::system(("python3 '" OXLIP_SOURCE_DIR "/tests/mods/make_zip.py' " + args).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
  for (const auto& [name, content] : ReadTree(folder)) names.insert(name);
  return names;
}

}  // namespace oxlip::test

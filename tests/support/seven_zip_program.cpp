#include "support/seven_zip_program.h"

#include <sys/wait.h>

#include <cstdlib>

namespace oxlip::test {

bool HaveSevenZipProgram() { return std::system("command -v 7zz >/dev/null 2>&1") == 0; }

int RunSevenZipProgram(const std::string& folder, const std::string& args) {
  std::string line =
      "set -f; cd '" + folder + "' && LC_ALL=C.UTF-8 7zz " + args + " -bso0 -bsp0 -bse0 >/dev/null";
  int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace oxlip::test

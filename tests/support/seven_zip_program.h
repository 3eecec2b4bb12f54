#pragma once
// The 7-Zip command-line program `7zz`, the other reader and writer of archives in tests.
#include <string>

namespace oxlip::test {

bool HaveSevenZipProgram();

// Runs `7zz <args>` in `folder` with UTF-8 names and no globbing by the shell ("*" is for the
// program to expand); its exit code.
int RunSevenZipProgram(const std::string& folder, const std::string& args);

}  // namespace oxlip::test

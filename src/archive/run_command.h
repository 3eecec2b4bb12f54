#pragma once
// Parsing and carrying out one command line.
#include <string>

namespace oxlip::archive {

// Exit codes as the 7-Zip program gives them.
inline constexpr int kSuccess = 0;
inline constexpr int kFatalError = 2;
inline constexpr int kCommandLineError = 7;

// Relative paths of the line are taken below `folder`; an empty one means the current folder.
int RunCommandLine(const std::string& line, const std::string& folder, std::string* error);

}  // namespace oxlip::archive

#pragma once
// Reading a command line the way the Windows archiver library does.
#include <string>
#include <string_view>
#include <vector>

#include "archive/command.h"

namespace oxlip::archive {

// Blanks and tabs separate arguments outside double quotes; every quote only toggles quoting
// and is dropped, so `-o"C:\a b\"` is one argument `-oC:\a b\` (a backslash escapes nothing).
std::vector<std::string> SplitCommandLine(std::string_view line);

// The typed command; false with `error` set for an unknown command or switch or a missing
// archive name. List files are not read here.
bool ParseCommand(std::string_view line, Command* command, std::string* error);

// Appends the lines of every list file (CR LF or LF; blank lines skipped) to `listed`.
bool ReadListFiles(Command* command, std::string* error);

}  // namespace oxlip::archive

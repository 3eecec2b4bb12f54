#pragma once
// The Java runtime the game starts with when an instance names none of its own.
#include <string>

#include "platform/conventions.h"

namespace oxlip {
namespace launch {

// The folder whose sub-folders are runtimes, ending with a separator: below the program-files
// folder from the environment ("ProgramW6432", else "ProgramFiles"), or the conventions'
// absolute folder.
std::string JavaSearchBase(const platform::Conventions& conventions = platform::kNativeConventions);

}  // namespace launch

// The "bin" folder of the runtime whose folder name is greatest in byte order, ending with the
// base's separator; empty when there is none. Reports nothing.
std::string FindJava(const platform::Conventions& conventions = platform::kNativeConventions);
std::string FindJava(const platform::Conventions& conventions, const std::string& base);

}  // namespace oxlip

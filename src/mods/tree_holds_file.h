#pragma once
// Whether an unpacked or staged tree has anything to pack or install.
#include <string>

namespace oxlip::mods {

// True when a file lies anywhere below the folder; empty folders do not count, a file dated
// 1970 or earlier does.
bool TreeHoldsFile(const std::string& folder);

}  // namespace oxlip::mods

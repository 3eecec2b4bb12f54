#pragma once
// Whether a staged or recorded tree still holds anything.
#include <string>

namespace oxlip::base {

// True when a file lies anywhere below the folder; empty folders do not count, a file dated
// 1970 or earlier does, and so does a link or a special file.
bool TreeHoldsFile(const std::string& folder);

}  // namespace oxlip::base

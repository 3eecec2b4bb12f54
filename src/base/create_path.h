#pragma once
// Making every folder along a path.
#include <string>

namespace oxlip {

// Creates every folder named before a separator of the path; failures are ignored.
void CreatePath(const std::string& path);

}  // namespace oxlip

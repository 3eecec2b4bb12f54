#pragma once
#include <string>
#include <vector>

#include "platform/dates.h"

namespace oxlip {
namespace versions {

inline constexpr const char* kUnknownVersion = "[unknown]";

}  // namespace versions

// One stored game jar of the version store.
struct VersionEntry {
  std::string File;     // name inside VersionsDir, with ".jar"
  std::string Version;  // "[unknown]" when it could not be read
  platform::DateValue Date = 0;
};

namespace versions {

// Newest first after every scan.
using VersionList = std::vector<VersionEntry>;

}  // namespace versions

}  // namespace oxlip

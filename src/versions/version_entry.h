#pragma once
#include <string>
#include <vector>

#include "platform/dates.h"

namespace oxlip {

inline constexpr const char* kUnknownVersion = "[unknown]";

// One stored game jar of the version store.
struct VersionEntry {
  std::string File;     // name inside VersionsDir, with ".jar"
  std::string Version;  // "[unknown]" when it could not be read
  platform::DateValue Date = 0;
};

// Newest first after every scan.
using VersionList = std::vector<VersionEntry>;

}  // namespace oxlip

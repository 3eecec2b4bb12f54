#pragma once
// The download queue: files that must be fetched before they can be put in place.
#include <string>
#include <vector>

#include "platform/dates.h"

namespace oxlip {

struct DownloadJob {
  std::string Target;     // where the file must finally be
  std::string CachePath;  // the download prefix followed by the entry's path
  std::string URL;
  platform::DateValue Date = 0;
  std::string ETag;
  int Size = 0;
};

namespace versions {

using DownloadQueue = std::vector<DownloadJob>;

}  // namespace versions

}  // namespace oxlip

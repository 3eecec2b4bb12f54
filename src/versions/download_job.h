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

using DownloadQueue = std::vector<DownloadJob>;

// The two dates the start-up version check finds; 0 while unknown.
struct ReleaseDates {
  platform::DateValue remote_release = 0;  // "minecraft.jar" of the download bucket
  platform::DateValue newest_beta = 0;     // newest "minecraft.jar" of the assets bucket
};

}  // namespace oxlip

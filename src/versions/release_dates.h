#pragma once
#include "platform/dates.h"

namespace oxlip::versions {

// The two dates the start-up version check finds; 0 while unknown.
struct ReleaseDates {
  platform::DateValue remote_release = 0;  // "minecraft.jar" of the download bucket
  platform::DateValue newest_beta = 0;     // newest "minecraft.jar" of the assets bucket
  bool download_unreached = false;         // the download bucket listed nothing at start-up
};

}  // namespace oxlip::versions

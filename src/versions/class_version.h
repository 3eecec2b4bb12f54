#pragma once
// Reading the game's version text out of its main class.
#include <string>
#include <string_view>

#include "base/settings.h"
#include "platform/dates.h"

namespace oxlip {
namespace versions {

// The text after "Minecraft Minecraft " in the class bytes, bounded by the constant's length
// (the byte before the match) and by a zero byte; empty when there is none.
std::string FindVersionText(std::string_view class_bytes);

}  // namespace versions

// The version of a jar (unpack 1: its main class is extracted into CacheDir first) or of a class
// file (unpack 0). `date` gets the class file's time. Empty on failure, with the error text set.
std::string GetMineCraftVersion(const base::GlobalSettings& settings, const std::string& path,
                                platform::DateValue& date, int unpack);

}  // namespace oxlip

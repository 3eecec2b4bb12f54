#pragma once
// "mods.ini": not a preference file but one mod folder per line.
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::instances {

// Every line up to the end; CR LF, LF and CR all end a line, and an empty line in the middle
// is an empty entry.
std::vector<std::string> ParseModListText(std::string_view text);

// Each entry followed by CR LF; an empty list is an empty text.
std::string ModListText(const std::vector<std::string>& mods);

}  // namespace oxlip::instances

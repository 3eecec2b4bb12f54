#pragma once
// What the stamp takes from Magic Launcher's configuration file: its active profile. The file
// belongs to that program; everything else in it is ignored.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::altlauncher {

struct MagicMod {
  std::string file;  // the mod archive; "" when the entry names none
  bool active = false;
};

struct MagicProfile {
  std::string jar;
  std::string name;
  std::vector<MagicMod> mods;  // in the profile's order
};

enum class ProfileStatus {
  kFound,
  kNone,     // no such profile, or a negative profile number: nothing to do
  kDamaged,  // the text ends inside the profile or inside the profile number's element
};

struct ActiveProfile {
  ProfileStatus status = ProfileStatus::kNone;
  MagicProfile profile;
};

// The text between the element's first and second double quote; "" with fewer than two.
std::string ElementValue(std::string_view element);
// The same with every doubled backslash read as one.
std::string PathValue(std::string_view element);

// The number of the active profile; 0 without a "<ActiveProfileIndex=" element, nothing when
// that element is not closed.
std::optional<long long> ActiveProfileNumber(std::string_view text);

// Where the (number + 1)-th "<Profile" of the text begins; nothing when there are fewer.
std::optional<std::size_t> FindProfile(std::string_view text, long long number);

ActiveProfile ReadActiveProfile(std::string_view text);

}  // namespace oxlip::altlauncher

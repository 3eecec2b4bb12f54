#include "altlauncher/magic_config.h"

#include <limits>

#include "altlauncher/next_tag.h"

namespace oxlip::altlauncher {
namespace {

constexpr std::string_view kIndexTag = "<ActiveProfileIndex=";

bool Begins(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Leading sign and digits as the C library reads them; no digits read as 0. Saturates, since
// a huge number only means a profile that is not there.
long long ParseNumber(std::string_view digits) {
  std::size_t at = 0;
  bool negative = false;
  if (at < digits.size() && (digits[at] == '-' || digits[at] == '+'))
    negative = digits[at++] == '-';
  long long value = 0;
  constexpr long long kMax = std::numeric_limits<long long>::max() / 10 - 9;
  for (; at < digits.size() && digits[at] >= '0' && digits[at] <= '9'; ++at)
    if (value < kMax) value = value * 10 + (digits[at] - '0');
  return negative ? -value : value;
}

MagicMod ReadMod(std::string_view element) {
  MagicMod mod;
  std::size_t position = 1;  // just after the element's own "<"
  for (std::string_view child = NextTag(element, &position); !child.empty();
       child = NextTag(element, &position)) {
    if (Begins(child, "<File=")) mod.file = PathValue(child);
    if (Begins(child, "<Active=")) mod.active = ElementValue(child) == "true";
  }
  return mod;
}

MagicProfile ReadProfile(std::string_view element) {
  MagicProfile profile;
  std::size_t position = 1;
  for (std::string_view child = NextTag(element, &position); !child.empty();
       child = NextTag(element, &position)) {
    if (Begins(child, "<MinecraftJar=")) profile.jar = PathValue(child);
    if (Begins(child, "<Name=")) profile.name = ElementValue(child);
    if (Begins(child, "<Mod")) profile.mods.push_back(ReadMod(child));
  }
  return profile;
}

}  // namespace

std::string ElementValue(std::string_view element) {
  std::size_t first = element.find('"');
  if (first == std::string_view::npos) return "";
  std::size_t second = element.find('"', first + 1);
  if (second == std::string_view::npos) return "";
  return std::string(element.substr(first + 1, second - first - 1));
}

std::string PathValue(std::string_view element) {
  std::string value = ElementValue(element);
  std::string path;
  for (std::size_t i = 0; i < value.size(); ++i) {
    path += value[i];
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') ++i;
  }
  return path;
}

std::optional<long long> ActiveProfileNumber(std::string_view text) {
  std::size_t tag = text.find(kIndexTag);
  if (tag == std::string_view::npos) return 0;
  std::size_t equals = tag + kIndexTag.size() - 1;
  std::size_t close = text.find('>', equals);
  if (close == std::string_view::npos) return std::nullopt;
  // Between the character after "=" and the one before ">": the element holds a quote, the
  // digits and a quote.
  std::size_t first = equals + 2;
  std::size_t last = close - 1;
  if (last <= first) return 0;
  return ParseNumber(text.substr(first, last - first));
}

std::optional<std::size_t> FindProfile(std::string_view text, long long number) {
  if (number < 0) return std::nullopt;
  std::size_t from = 0;
  std::size_t hit = std::string_view::npos;
  for (long long count = 0; count <= number; ++count) {
    hit = text.find("<Profile", from);
    if (hit == std::string_view::npos) return std::nullopt;
    from = hit + 1;
  }
  return hit;
}

ActiveProfile ReadActiveProfile(std::string_view text) {
  ActiveProfile active;
  std::optional<long long> number = ActiveProfileNumber(text);
  if (!number) {
    active.status = ProfileStatus::kDamaged;
    return active;
  }
  std::optional<std::size_t> at = FindProfile(text, *number);
  if (!at) return active;
  // A profile cut off by the end of the file would be stamped with only part of its mods.
  bool cut_off = false;
  std::size_t position = *at;
  std::string_view element = NextTag(text, &position, &cut_off);
  if (cut_off) {
    active.status = ProfileStatus::kDamaged;
    return active;
  }
  active.status = ProfileStatus::kFound;
  active.profile = ReadProfile(element);
  return active;
}

}  // namespace oxlip::altlauncher

#pragma once
// Names from archives keep their letter case; the rules that look at them ignore it, as the
// file systems the mods were made on do.
#include <string>
#include <string_view>

namespace oxlip::mods {

// ASCII letters only: the names the rules look for are ASCII.
inline std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

inline bool EndsWithNoCase(std::string_view text, std::string_view lower_tail) {
  return text.size() >= lower_tail.size() &&
         LowerCase(text.substr(text.size() - lower_tail.size())) == lower_tail;
}

}  // namespace oxlip::mods

#pragma once
// The text of a preference file as an ordered list of entries, and back.
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::prefs {

struct PrefEntry {
  enum class Kind { kGroup, kComment, kKey };
  Kind kind = Kind::kKey;
  std::string name;   // group name, comment text or key
  std::string value;  // keys only; as it stands in the file
};

struct PrefDocument {
  std::vector<PrefEntry> entries;
  bool utf8 = false;  // the file began with a byte-order mark
};

PrefDocument ParsePrefText(std::string_view bytes);
std::string SerializePrefDocument(const PrefDocument& document);

// Index of the first key of the flat section (before any group) equal to `key` without
// regard to ASCII case; -1 when none.
int FindPrefKey(const PrefDocument& document, std::string_view key);

// Where a new key of the flat section goes: before the first group header.
size_t EndOfFlatSection(const PrefDocument& document);

// Leading and trailing spaces and tabs removed.
std::string_view TrimBlanks(std::string_view text);

// Decimal reading: blanks, an optional sign, digits up to the first other character; 0 when
// no digit follows. Saturates at the 32-bit limits.
int ParsePrefNumber(std::string_view text);

}  // namespace oxlip::prefs

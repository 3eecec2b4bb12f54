#include "prefs/pref_document.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/ascii_case.h"

namespace oxlip::prefs {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

PrefEntry ParseLine(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  line.remove_prefix(start);
  PrefEntry entry;
  if (!line.empty() && line[0] == ';') {
    entry.kind = PrefEntry::Kind::kComment;
    line.remove_prefix(1);
    if (!line.empty() && line[0] == ' ') line.remove_prefix(1);
    entry.name = line;
  } else if (!line.empty() && line[0] == '[') {
    entry.kind = PrefEntry::Kind::kGroup;
    line.remove_prefix(1);
    entry.name = line.substr(0, line.find(']'));
  } else {
    size_t equals = line.find('=');
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    entry.name = key;
    if (equals != std::string_view::npos) {
      std::string_view value = line.substr(equals + 1);
      while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
      entry.value = value;
    }
  }
  return entry;
}

}  // namespace

PrefDocument ParsePrefText(std::string_view bytes) {
  PrefDocument document;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    document.utf8 = true;
    bytes.remove_prefix(3);
  }
  size_t pos = 0;
  while (pos < bytes.size()) {
    while (pos < bytes.size() && IsLineEnd(bytes[pos])) ++pos;
    if (pos >= bytes.size()) break;
    size_t end = pos;
    while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
    document.entries.push_back(ParseLine(bytes.substr(pos, end - pos)));
    pos = end;
  }
  return document;
}

std::string SerializePrefDocument(const PrefDocument& document) {
  std::string text;
  if (document.utf8) text += "\xEF\xBB\xBF\r\n";
  for (const PrefEntry& entry : document.entries) {
    switch (entry.kind) {
      case PrefEntry::Kind::kGroup:
        text += "[" + entry.name + "]";
        break;
      case PrefEntry::Kind::kComment:
        text += "; " + entry.name;
        break;
      case PrefEntry::Kind::kKey:
        text += entry.name + " = " + entry.value;
        break;
    }
    text += "\r\n";
  }
  return text;
}

int FindPrefKey(const PrefDocument& document, std::string_view key) {
  for (size_t i = 0; i < document.entries.size(); ++i) {
    const PrefEntry& entry = document.entries[i];
    if (entry.kind == PrefEntry::Kind::kGroup) break;
    if (entry.kind == PrefEntry::Kind::kKey && platform::EqualsNoCase(entry.name, key))
      return static_cast<int>(i);
  }
  return -1;
}

size_t EndOfFlatSection(const PrefDocument& document) {
  size_t i = 0;
  while (i < document.entries.size() && document.entries[i].kind != PrefEntry::Kind::kGroup) ++i;
  return i;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int ParsePrefNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (IsBlank(text[i]) || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min<std::int64_t>(kLimit, value * 10 + (text[i] - '0'));
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

}  // namespace oxlip::prefs

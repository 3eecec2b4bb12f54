// Parses arbitrary bytes as a preference file, writes the result back, and checks that the
// normalised text reads back to the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "prefs/pref_document.h"

using oxlip::prefs::PrefDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PrefDocument first = oxlip::prefs::ParsePrefText(bytes);
  std::string text = oxlip::prefs::SerializePrefDocument(first);
  // A single-byte file whose first line starts with the mark's bytes reads back as UTF-8;
  // the format cannot tell the two apart.
  if (!first.utf8 && text.rfind("\xEF\xBB\xBF", 0) == 0) return 0;
  PrefDocument second = oxlip::prefs::ParsePrefText(text);
  if (second.utf8 != first.utf8 || second.entries.size() != first.entries.size()) std::abort();
  for (size_t i = 0; i < first.entries.size(); ++i) {
    const auto& a = first.entries[i];
    const auto& b = second.entries[i];
    if (a.kind != b.kind || a.name != b.name || a.value != b.value) std::abort();
  }
  oxlip::prefs::FindPrefKey(first, "MaxMemory");
  for (const auto& entry : first.entries) oxlip::prefs::ParsePrefNumber(entry.value);
  return 0;
}

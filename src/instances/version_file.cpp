#include "instances/version_file.h"

#include "prefs/pref_document.h"

namespace oxlip::instances {

platform::DateValue ReadVersionFileDate(std::string_view bytes) {
  constexpr size_t kMarker = 2;
  constexpr size_t kMilliseconds = 3;  // the "000" that turns seconds into milliseconds
  if (bytes.size() <= kMarker) return 0;
  std::string_view line = bytes.substr(kMarker);
  line = line.substr(0, line.find_first_of("\r\n"));
  if (line.size() <= kMilliseconds) return 0;
  line.remove_suffix(kMilliseconds);
  return prefs::ParsePrefNumber(line);
}

}  // namespace oxlip::instances

// Reads arbitrary bytes as an instance's version file and as its mod list; the mod list must
// survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "instances/mod_list_file.h"
#include "instances/version_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto date = oxlip::instances::ReadVersionFileDate(bytes);
  // Whatever follows the first line cannot change the date.
  if (bytes.size() > 2 && bytes.find_first_of("\r\n", 2) == std::string_view::npos &&
      oxlip::instances::ReadVersionFileDate(std::string(bytes) + "\n9999000") != date)
    std::abort();

  auto mods = oxlip::instances::ParseModListText(bytes);
  if (oxlip::instances::ParseModListText(oxlip::instances::ModListText(mods)) != mods) std::abort();
  return 0;
}

// The version scan over arbitrary class bytes never reads outside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "versions/class_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string version = oxlip::versions::FindVersionText(bytes);
  if (version.size() > 127 || version.find('\0') != std::string::npos) std::abort();
  return 0;
}

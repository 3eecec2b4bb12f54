// The bucket listing parser on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "versions/remote_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<oxlip::RemoteFile> files;
  oxlip::versions::ParseListing(text, "http://127.0.0.1/b/", files);
  for (const oxlip::RemoteFile& file : files) {
    if (!file.Path.empty() && file.Path.back() == '/') std::abort();
    if (file.Path.find('/') != std::string::npos) std::abort();
  }
  return 0;
}

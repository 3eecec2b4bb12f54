// The version index reader on arbitrary bytes: every record it keeps must write back to bytes
// that read as the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "versions/version_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  oxlip::versions::VersionIndex index = oxlip::versions::ParseVersionIndex(bytes);
  for (const auto& [file, record] : index) {
    if (file.find_first_of("\r\n") != std::string::npos) std::abort();
    if (record.first.find_first_of("\r\n") != std::string::npos) continue;
    std::string again = oxlip::versions::VersionRecordBytes(file, record.first, record.second);
    oxlip::versions::VersionIndex back = oxlip::versions::ParseVersionIndex(again);
    if (back.size() != 1 || back.begin()->second != record) std::abort();
  }
  return 0;
}

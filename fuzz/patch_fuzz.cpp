// Arbitrary bytes as a downgrade patch, applied to a work folder held in memory the way
// Downgrade applies it: every record the reader accepts names a place inside the folder, and
// the delta interpreter never reads outside the old content nor writes more than the record's
// size. Unlike Downgrade it goes on past a file whose CRC-32 differs from its record, to reach
// further into the patch.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "platform/path.h"
#include "versions/delta_apply.h"
#include "versions/patch_format.h"
#include "versions/patch_record.h"

namespace {

using namespace oxlip::versions;

// Rebuilt files longer than this are checked but not kept as old content for later records.
constexpr std::size_t kKeepLimit = 1 << 20;

volatile std::uint32_t g_checksum = 0;

const std::string& DefaultOld() {
  static const std::string old = [] {
    std::string bytes(4096, '\0');
    std::uint32_t seed = 1;
    for (char& c : bytes) {
      seed = seed * 1103515245u + 12345u;
      c = static_cast<char>(seed >> 16);
    }
    return bytes;
  }();
  return old;
}

void CheckName(const RecordHeader& record) {
  std::string_view name = record.name;
  if (name.empty() || oxlip::platform::IsAbsolutePath(name) ||
      oxlip::platform::HasParentPart(name) || (name.size() >= 2 && name[1] == ':') ||
      name.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos)
    std::abort();
  if (record.size < 0 || record.type < 1 || record.type > 3) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PatchCursor cursor(std::string_view(reinterpret_cast<const char*>(data), size));
  std::map<std::string, std::string> folder;
  while (!cursor.AtEnd()) {
    RecordHeader record;
    if (!ReadRecordHeader(cursor, &record)) break;
    CheckName(record);
    auto limit = static_cast<std::uint64_t>(record.size);
    if (record.type == static_cast<std::uint8_t>(RecordType::kNewContent)) {
      std::string_view content;
      if (!cursor.Take(limit, &content)) break;
      folder[record.name] = std::string(content);
    } else if (record.type == static_cast<std::uint8_t>(RecordType::kDelta)) {
      auto known = folder.find(record.name);
      const std::string& old = known != folder.end() ? known->second : DefaultOld();
      std::string output;
      std::uint64_t written = 0;
      DeltaStatus status = ApplyDelta(old, record.size, cursor, [&](std::string_view bytes) {
        // Every piece lies inside the old content or the patch, and fits the size.
        written += bytes.size();
        if (written > limit) std::abort();
        if (written <= kKeepLimit) output += bytes;
        g_checksum = g_checksum ^ Crc32(bytes);  // reads every byte of the piece
        return true;
      });
      if (status != DeltaStatus::kDone) break;
      if (written <= kKeepLimit) folder[record.name] = std::move(output);
    }
  }
  return 0;
}

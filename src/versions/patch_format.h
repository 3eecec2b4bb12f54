#pragma once
// Downgrade patch files: a sequence of records, each naming one file of the older jar with its
// final CRC-32, date and size, and how it is made (kept, new content, or a delta against the
// file of the same name). This header is the one description of the bytes, for the writer
// (oxlip-mkpatch) and the reader alike. Numbers are little-endian.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dates.h"
#include "versions/patch_cursor.h"

namespace oxlip::versions {

enum class RecordType : std::uint8_t { kKeep = 1, kNewContent = 2, kDelta = 3 };

// Everything of a record before its body.
struct RecordHeader {
  std::string name;  // relative, "\" between folders; a folder ends in "\"
  std::uint32_t crc = 0;
  platform::DateValue date = 0;
  std::int32_t size = 0;
  std::uint8_t type = 0;
};

inline constexpr std::size_t kMaxNameLength = 255;

// Delta commands. A copy reads the old file at (bytes written so far + offset).
inline constexpr int kMinCopyOffset = -128;
inline constexpr int kMaxCopyOffset = 127;
inline constexpr std::uint64_t kMinCopy = 5;
inline constexpr std::uint64_t kMaxCopy = 0xFFFF + 101;
inline constexpr std::uint64_t kMaxInsert = 0x100000000;  // a 32-bit count plus one

struct DeltaCommand {
  enum class Kind { kEnd, kInsert, kCopy };
  Kind kind = Kind::kEnd;
  int offset = 0;            // copies
  std::uint64_t length = 0;  // bytes inserted or copied
};

// Writing. The name must fit kMaxNameLength; copies must be at least kMinCopy long and inside
// the offset range; longer copies and inserts are split into as many commands as needed.
std::string RecordHeaderBytes(const RecordHeader& header);
void AppendInsert(std::string_view bytes, std::string* out);
void AppendCopy(int offset, std::uint64_t length, std::string* out);
void AppendEnd(std::string* out);

// Reading one command with its operands (not the inserted bytes, which follow it).
enum class CommandStatus { kOk, kIllegal, kCutShort };
CommandStatus ReadDeltaCommand(PatchCursor& cursor, DeltaCommand* command);

// The CRC-32 of zip (reflected 0xEDB88320, all ones in, complemented out).
std::uint32_t Crc32(std::string_view bytes);

}  // namespace oxlip::versions

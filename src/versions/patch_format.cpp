#include "versions/patch_format.h"

#include <zlib.h>

#include <algorithm>

namespace oxlip::versions {
namespace {

// Command bytes.
constexpr std::uint8_t kEnd = 0;
constexpr std::uint8_t kInsert8 = 1;
constexpr std::uint8_t kInsert16 = 2;
constexpr std::uint8_t kCopy8 = 3;
constexpr std::uint8_t kCopy16 = 4;
constexpr std::uint8_t kShortCopyFirst = 5;
constexpr std::uint8_t kShortCopyLast = 100;
constexpr std::uint8_t kShortInsertBase = 100;  // 101 to 200 insert 1 to 100 bytes
constexpr std::uint8_t kShortInsertLast = 200;
constexpr std::uint8_t kInsert32 = 201;
constexpr std::uint64_t kLongCopyBase = 101;

void PutNumber(std::uint64_t value, int width, std::string* out) {
  for (int i = 0; i < width; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutInsertCommand(std::uint64_t count, std::string* out) {
  if (count <= kShortInsertLast - kShortInsertBase) {
    out->push_back(static_cast<char>(kShortInsertBase + count));
  } else if (count <= 0x100) {
    out->push_back(static_cast<char>(kInsert8));
    PutNumber(count - 1, 1, out);
  } else if (count <= 0x10000) {
    out->push_back(static_cast<char>(kInsert16));
    PutNumber(count - 1, 2, out);
  } else {
    out->push_back(static_cast<char>(kInsert32));
    PutNumber(count - 1, 4, out);
  }
}

void PutCopyCommand(int offset, std::uint64_t length, std::string* out) {
  if (length <= kShortCopyLast) {
    out->push_back(static_cast<char>(length));
    out->push_back(static_cast<char>(offset));
  } else if (length - kLongCopyBase <= 0xFF) {
    out->push_back(static_cast<char>(kCopy8));
    out->push_back(static_cast<char>(offset));
    PutNumber(length - kLongCopyBase, 1, out);
  } else {
    out->push_back(static_cast<char>(kCopy16));
    out->push_back(static_cast<char>(offset));
    PutNumber(length - kLongCopyBase, 2, out);
  }
}

}  // namespace

std::string RecordHeaderBytes(const RecordHeader& header) {
  std::string out;
  out.push_back(static_cast<char>(header.name.size()));
  out += header.name;
  PutNumber(header.crc, 4, &out);
  PutNumber(static_cast<std::uint32_t>(header.date), 4, &out);
  PutNumber(static_cast<std::uint32_t>(header.size), 4, &out);
  out.push_back(static_cast<char>(header.type));
  return out;
}

void AppendInsert(std::string_view bytes, std::string* out) {
  while (!bytes.empty()) {
    std::uint64_t count = std::min<std::uint64_t>(bytes.size(), kMaxInsert);
    PutInsertCommand(count, out);
    out->append(bytes.substr(0, count));
    bytes.remove_prefix(count);
  }
}

void AppendCopy(int offset, std::uint64_t length, std::string* out) {
  while (length > 0) {
    std::uint64_t piece = std::min(length, kMaxCopy);
    // Never leave a rest too short to be copied.
    if (length - piece > 0 && length - piece < kMinCopy) piece = length - kMinCopy;
    PutCopyCommand(offset, piece, out);
    length -= piece;
  }
}

void AppendEnd(std::string* out) { out->push_back(static_cast<char>(kEnd)); }

CommandStatus ReadDeltaCommand(PatchCursor& cursor, DeltaCommand* command) {
  std::uint8_t code = 0;
  if (!cursor.U8(&code)) return CommandStatus::kCutShort;
  *command = DeltaCommand();
  bool ok = true;
  if (code == kEnd) {
    command->kind = DeltaCommand::Kind::kEnd;
  } else if (code == kInsert8 || code == kInsert16 || code == kInsert32 ||
             (code > kShortInsertBase && code <= kShortInsertLast)) {
    command->kind = DeltaCommand::Kind::kInsert;
    std::uint8_t n8 = 0;
    std::uint16_t n16 = 0;
    std::uint32_t n32 = 0;
    if (code == kInsert8) {
      ok = cursor.U8(&n8);
      command->length = std::uint64_t{n8} + 1;
    } else if (code == kInsert16) {
      ok = cursor.U16(&n16);
      command->length = std::uint64_t{n16} + 1;
    } else if (code == kInsert32) {
      ok = cursor.U32(&n32);
      command->length = std::uint64_t{n32} + 1;
    } else {
      command->length = code - kShortInsertBase;
    }
  } else if (code == kCopy8 || code == kCopy16 ||
             (code >= kShortCopyFirst && code <= kShortCopyLast)) {
    command->kind = DeltaCommand::Kind::kCopy;
    std::uint8_t offset = 0, n8 = 0;
    std::uint16_t n16 = 0;
    ok = cursor.U8(&offset);
    command->offset = static_cast<std::int8_t>(offset);
    if (code == kCopy8) {
      ok = ok && cursor.U8(&n8);
      command->length = n8 + kLongCopyBase;
    } else if (code == kCopy16) {
      ok = ok && cursor.U16(&n16);
      command->length = n16 + kLongCopyBase;
    } else {
      command->length = code;
    }
  } else {
    return CommandStatus::kIllegal;
  }
  return ok ? CommandStatus::kOk : CommandStatus::kCutShort;
}

std::uint32_t Crc32(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!bytes.empty()) {
    auto piece = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), piece);
    bytes.remove_prefix(piece);
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace oxlip::versions

#include "versions/patch_record.h"

#include "platform/path.h"

namespace oxlip::versions {

bool IsSafeRecordName(std::string_view name) {
  if (name.empty() || name.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos)
    return false;
  // "C:name" is relative to a drive's current folder on Windows: outside the work folder too.
  bool drive = name.size() >= 2 && name[1] == ':';
  return !drive && !platform::IsAbsolutePath(name) && !platform::HasParentPart(name);
}

bool IsFolderName(std::string_view name) {
  return !name.empty() && platform::IsSeparator(name.back());
}

bool ReadRecordHeader(PatchCursor& cursor, RecordHeader* header) {
  std::uint8_t name_length = 0;
  std::string_view name;
  std::uint32_t crc = 0, date = 0, size = 0;
  std::uint8_t type = 0;
  if (!cursor.U8(&name_length) || !cursor.Take(name_length, &name) || !cursor.U32(&crc) ||
      !cursor.U32(&date) || !cursor.U32(&size) || !cursor.U8(&type))
    return false;
  header->name.assign(name);
  header->crc = crc;
  header->date = static_cast<platform::DateValue>(date);
  header->size = static_cast<std::int32_t>(size);
  header->type = type;
  return IsSafeRecordName(name) && header->size >= 0 &&
         type >= static_cast<std::uint8_t>(RecordType::kKeep) &&
         type <= static_cast<std::uint8_t>(RecordType::kDelta);
}

}  // namespace oxlip::versions

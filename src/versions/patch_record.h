#pragma once
// Reading one record of a downgrade patch from untrusted bytes.
#include <string_view>

#include "versions/patch_cursor.h"
#include "versions/patch_format.h"

namespace oxlip::versions {

// A name the work folder may use: not empty, not absolute (no leading separator, no drive), no
// ".." part, and no zero byte or line break (the names become lines of the file list).
bool IsSafeRecordName(std::string_view name);

// True for a name that stands for a folder (its last character a separator).
bool IsFolderName(std::string_view name);

// Reads NameLength, Name, Crc, Date, Size and Type. False when the record is cut short, its
// name is not safe, its size is negative or its type is none of the three.
bool ReadRecordHeader(PatchCursor& cursor, RecordHeader* header);

}  // namespace oxlip::versions

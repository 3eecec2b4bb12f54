#include "versions/patch_apply.h"

#include <optional>
#include <utility>
#include <vector>

#include "base/create_path.h"
#include "base/error_text.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "versions/class_version.h"
#include "versions/delta_apply.h"
#include "versions/patch_record.h"

namespace oxlip::versions {
namespace {

constexpr char kCorrupt[] = "Downgrade: Patchfile corrupt";
constexpr char kMainClass[] = "net\\minecraft\\client\\Minecraft.class";

std::string Shown(const std::string& path) { return platform::NativePath(path); }

bool Fail(std::string text, std::string* error) {
  *error = std::move(text);
  return false;
}

// The same with the reason the file failed for after the text.
bool Fail(const std::string& text, const platform::Error& why, std::string* error) {
  return Fail(base::WithReason(text, why.reason), error);
}

bool Keep(const RecordHeader& record, const std::string& path, std::string* error) {
  if (IsFolderName(record.name)) {
    // Packing needs every listed name on disk, also a folder the old jar did not have.
    CreatePath(path);
    return true;
  }
  if (record.size != 0) return true;
  platform::FileWriter file;
  if (!file.Open(path) || !file.Close())
    return Fail("Downgrade: Can't create " + Shown(path), file.error(), error);
  return true;
}

bool WriteNewContent(const RecordHeader& record, PatchCursor& cursor, const std::string& path,
                     std::string* error) {
  std::string_view content;
  if (!cursor.Take(static_cast<std::size_t>(record.size), &content)) return Fail(kCorrupt, error);
  CreatePath(path);
  platform::FileWriter file;
  if (!file.Open(path) || !file.Write(content) || !file.Close())
    return Fail("Downgrade: Can't create " + Shown(path), file.error(), error);
  return true;
}

bool Rebuild(const RecordHeader& record, PatchCursor& cursor, const std::string& work,
             const std::string& path, std::string* error) {
  std::optional<std::string> old;
  platform::Error reading;
  if (platform::IsFile(path)) old = platform::ReadWholeFile(path, &reading);
  if (!old) return Fail("Can't read: " + Shown(path), reading, error);
  platform::FileWriter file;
  if (!file.Open(path)) return Fail("downgrade: Can't write: " + Shown(work), file.error(), error);
  DeltaStatus status = ApplyDelta(*old, record.size, cursor,
                                  [&file](std::string_view bytes) { return file.Write(bytes); });
  bool closed = file.Close();
  switch (status) {
    case DeltaStatus::kIllegalCommand:
      return Fail("Downgrade: illegal patch-info for " + Shown(path), error);
    case DeltaStatus::kCorrupt:
      return Fail(kCorrupt, error);
    case DeltaStatus::kWriteFailed:
      return Fail("downgrade: Can't write: " + Shown(work), file.error(), error);
    case DeltaStatus::kDone:
      break;
  }
  if (!closed) return Fail("downgrade: Can't write: " + Shown(work), file.error(), error);
  return true;
}

// A file that cannot be read counts as empty with CRC 0, so a folder passes as size 0, CRC 0.
bool MatchesRecord(const RecordHeader& record, const std::string& path) {
  std::optional<std::string> bytes;
  if (platform::IsFile(path)) bytes = platform::ReadWholeFile(path);
  std::int64_t size = bytes ? static_cast<std::int64_t>(bytes->size()) : 0;
  std::uint32_t crc = bytes ? Crc32(*bytes) : 0;
  return size == record.size && crc == record.crc;
}

bool ApplyRecord(const RecordHeader& record, PatchCursor& cursor, const std::string& work,
                 std::string* error) {
  std::string path = work + record.name;
  switch (static_cast<RecordType>(record.type)) {
    case RecordType::kKeep:
      if (!Keep(record, path, error)) return false;
      break;
    case RecordType::kNewContent:
      if (!WriteNewContent(record, cursor, path, error)) return false;
      break;
    case RecordType::kDelta:
      if (!Rebuild(record, cursor, work, path, error)) return false;
      break;
  }
  if (!MatchesRecord(record, path)) return Fail("Downgrader: wrong file " + record.name, error);
  return true;
}

}  // namespace

bool ApplyPatch(const base::GlobalSettings& settings, std::string_view patch,
                const std::string& work, platform::FileWriter& file_list, PatchOutcome* outcome,
                std::string* error) {
  PatchCursor cursor(patch);
  // Files made later inside a folder change its time: folders are dated again at the end.
  std::vector<std::pair<std::string, platform::DateValue>> folders;
  while (!cursor.AtEnd()) {
    RecordHeader record;
    if (!ReadRecordHeader(cursor, &record)) return Fail(kCorrupt, error);
    file_list.Write(record.name + "\r\n");
    if (!ApplyRecord(record, cursor, work, error)) return false;
    std::string path = work + record.name;
    platform::SetFileDate(path, record.date);
    if (IsFolderName(record.name)) folders.emplace_back(path, record.date);
    if (record.date > outcome->newest) outcome->newest = record.date;
    if (record.name == kMainClass)
      outcome->version = GetMineCraftVersion(settings, path, outcome->class_date, 0);
  }
  for (const auto& [path, date] : folders) platform::SetFileDate(path, date);
  return true;
}

}  // namespace oxlip::versions

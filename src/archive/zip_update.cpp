#include <unordered_map>

#include "archive/command_patterns.h"
#include "archive/name_pattern.h"
#include "archive/zip_archive.h"
#include "archive/zip_handle.h"
#include "base/error_text.h"
#include "platform/fs.h"

namespace oxlip::archive {
namespace {

// Name (folders with a trailing "/") to entry index. Letter case counts: "B.class" and
// "b.class" are two files on disk and two classes to Java.
using NameIndex = std::unordered_map<std::string, zip_uint64_t>;

std::string Key(const std::string& name, bool folder) {
  return NormalName(name) + (folder ? "/" : "");
}

bool IsFolderName(const char* name) {
  std::string_view text(name);
  return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

NameIndex IndexNames(zip_t* zip) {
  NameIndex index;
  zip_int64_t count = zip_get_num_entries(zip, 0);
  for (zip_int64_t i = 0; i < count; ++i)
    if (const char* name = zip_get_name(zip, i, 0)) index[Key(name, IsFolderName(name))] = i;
  return index;
}

bool AddFolder(zip_t* zip, const DiskItem& item, NameIndex* index, std::string* error) {
  std::string key = Key(item.archive_name, true);
  if (index->count(key)) return true;
  zip_int64_t added = zip_dir_add(zip, item.archive_name.c_str(), ZIP_FL_ENC_GUESS);
  if (added < 0) {
    *error = "can't add folder " + item.archive_name + ": " + zip_strerror(zip);
    return false;
  }
  zip_file_set_mtime(zip, added, item.modified, 0);
  (*index)[key] = added;
  return true;
}

bool IsUpToDate(zip_t* zip, zip_uint64_t index, const DiskItem& item) {
  zip_stat_t st;
  // Zip keeps times in two-second steps.
  return zip_stat_index(zip, index, 0, &st) == 0 && (st.valid & ZIP_STAT_MTIME) &&
         st.mtime + 1 >= item.modified;
}

bool AddFile(zip_t* zip, const DiskItem& item, bool strongest, bool only_newer, NameIndex* index,
             std::string* error) {
  std::string key = Key(item.archive_name, false);
  auto found = index->find(key);
  if (found != index->end() && only_newer && IsUpToDate(zip, found->second, item)) return true;
  zip_source_t* source = zip_source_file(zip, item.disk_path.c_str(), 0, -1);
  zip_int64_t at = -1;
  if (source && found != index->end())
    at = zip_file_replace(zip, found->second, source, 0) == 0 ? found->second : -1;
  else if (source)
    at = zip_file_add(zip, item.archive_name.c_str(), source, ZIP_FL_ENC_GUESS);
  if (at < 0) {
    *error = "can't add " + item.disk_path + ": " + zip_strerror(zip);
    if (source) zip_source_free(source);
    return false;
  }
  (*index)[key] = at;
  zip_set_file_compression(zip, at, ZIP_CM_DEFLATE, strongest ? 9 : 0);
  return true;
}

// libzip removes an archive left without entries; an empty archive is what was asked for.
bool CloseZip(ZipHandle zip, const std::string& path, std::string* error) {
  zip_t* raw = zip.release();
  if (zip_close(raw) != 0) {
    *error = "can't write " + path + ": " + zip_strerror(raw);
    zip_discard(raw);
    return false;
  }
  if (platform::Exists(path)) return true;
  static const char kEmptyZip[22] = {'P', 'K', 5, 6};
  platform::Error writing;
  if (platform::ReplaceFileContents(path, std::string(kEmptyZip, sizeof kEmptyZip), &writing))
    return true;
  *error = base::WithReason("can't write " + path, writing.reason);
  return false;
}

}  // namespace

bool AddToZip(const Command& command, const std::string& archive,
              const std::vector<DiskItem>& items, bool only_newer, std::string* error) {
  bool exists = platform::FileSize(archive) > 0;
  ZipHandle zip = OpenZip(archive, exists ? 0 : ZIP_CREATE | ZIP_TRUNCATE, error);
  if (!zip) return false;
  NameIndex index = IndexNames(zip.get());
  for (const DiskItem& item : items) {
    bool ok = item.folder ? AddFolder(zip.get(), item, &index, error)
                          : AddFile(zip.get(), item, command.strongest, only_newer, &index, error);
    if (!ok) return false;
  }
  return CloseZip(std::move(zip), archive, error);
}

bool DeleteFromZip(const Command& command, const std::string& archive, std::string* error) {
  ZipHandle zip = OpenZip(archive, 0, error);
  if (!zip) return false;
  std::vector<NamePattern> patterns = NamePatterns(command);
  zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(zip.get(), i, 0);
    if (!name) continue;
    if (AnyCovers(patterns, name) && zip_delete(zip.get(), i) != 0) {
      *error = std::string("can't delete ") + name + ": " + zip_strerror(zip.get());
      return false;
    }
  }
  return CloseZip(std::move(zip), archive, error);
}

}  // namespace oxlip::archive

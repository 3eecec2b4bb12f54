#include "file_tree.h"

#include <algorithm>
#include <optional>

#include "archive/entry_name.h"
#include "archive/zip_handle.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::mkpatch {
namespace {

bool ReadEntry(zip_t* zip, zip_uint64_t index, TreeEntry* entry, std::string* error) {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(zip, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
    *error = "can't read entry " + std::to_string(index);
    return false;
  }
  std::string name = st.name;
  if (!archive::SafeEntryPath(name)) {
    *error = "entry name leads out of the jar's folder: " + name;
    return false;
  }
  entry->name = platform::RecordPath(name);
  if (st.valid & ZIP_STAT_MTIME) entry->date = platform::ToDateValue(st.mtime);
  if (entry->folder()) return true;
  zip_file_t* file = zip_fopen_index(zip, index, 0);
  if (!file) {
    *error = "can't open entry " + name;
    return false;
  }
  char buffer[65536];
  zip_int64_t n = 0;
  while ((n = zip_fread(file, buffer, sizeof buffer)) > 0)
    entry->data.append(buffer, static_cast<size_t>(n));
  zip_fclose(file);
  if (n < 0) *error = "can't read entry " + name;
  return n == 0;
}

bool ReadJar(const std::string& path, FileTree* tree, std::string* error) {
  archive::ZipHandle zip = archive::OpenZip(platform::NativePath(path), ZIP_RDONLY, error);
  if (!zip) return false;
  zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    TreeEntry entry;
    if (!ReadEntry(zip.get(), static_cast<zip_uint64_t>(i), &entry, error)) return false;
    tree->push_back(std::move(entry));
  }
  return true;
}

// `prefix` is the record name of `folder` below the tree's root ("" or ending in "\").
bool ReadFolder(const std::string& folder, const std::string& prefix, FileTree* tree,
                std::string* error) {
  platform::Error unlisted;
  std::vector<platform::DirEntry> entries = platform::ListFolder(folder, &unlisted);
  if (unlisted) {
    *error = unlisted.Text();
    return false;
  }
  std::sort(
      entries.begin(), entries.end(),
      [](const platform::DirEntry& a, const platform::DirEntry& b) { return a.name < b.name; });
  for (const platform::DirEntry& item : entries) {
    std::string path = folder + item.name;
    if (item.is_folder) {
      tree->push_back({prefix + item.name + "\\", "", item.modified});
      if (!ReadFolder(path + "/", prefix + item.name + "\\", tree, error)) return false;
      continue;
    }
    // A link is never followed, and a FIFO or a device never opened.
    if (item.kind != platform::PathKind::kFile) {
      *error = "neither a file nor a folder: " + platform::NativePath(path);
      return false;
    }
    std::optional<std::string> data = platform::ReadWholeFile(path);
    if (!data) {
      *error = "can't read " + platform::NativePath(path);
      return false;
    }
    tree->push_back({prefix + item.name, std::move(*data), item.modified});
  }
  return true;
}

}  // namespace

bool ReadFileTree(const std::string& path, FileTree* tree, std::string* error) {
  tree->clear();
  if (platform::IsFolder(path))
    return ReadFolder(platform::WithTrailingSeparator(path), "", tree, error);
  return ReadJar(path, tree, error);
}

}  // namespace oxlip::mkpatch

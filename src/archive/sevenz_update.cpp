#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "archive/command_patterns.h"
#include "archive/libarchive_handle.h"
#include "archive/name_pattern.h"
#include "archive/sevenz_archive.h"
#include "archive/sevenz_writer.h"
#include "base/error_text.h"
#include "platform/fs.h"
#include "platform/replace_file.h"

namespace oxlip::archive {
namespace {

// Name (folders with a trailing "/"); letter case counts, as it does on disk.
std::string Key(const std::string& name, bool folder) {
  return NormalName(name) + (folder ? "/" : "");
}

std::string Key(const PackEntry& entry) {
  return Key(entry.name, entry.kind == SevenZKind::kFolder);
}

bool ReadOldEntry(struct archive_entry* entry, bool warned, PackEntry* out, std::string* error) {
  const char* name = archive_entry_pathname_utf8(entry);
  if (!name && warned) {
    *error = "an entry's name can't be read";
    return false;
  }
  out->name = name ? name : "";
  while (!out->name.empty() && out->name.back() == '/') out->name.pop_back();
  out->permissions = archive_entry_perm(entry);
  out->modified = archive_entry_mtime(entry);
  out->modified_ns = static_cast<std::uint32_t>(archive_entry_mtime_nsec(entry));
  switch (archive_entry_filetype(entry)) {
    case AE_IFDIR:
      out->kind = SevenZKind::kFolder;
      return true;
    case AE_IFLNK: {
      const char* target = archive_entry_symlink_utf8(entry);
      out->kind = SevenZKind::kLink;
      out->link_target = target ? target : "";
      out->size = out->link_target.size();
      return true;
    }
    case AE_IFREG:
    case 0:
      out->size = static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0));
      return true;
  }
  *error = "entry \"" + out->name + "\" is neither file, folder nor link";
  return false;
}

// The entries' descriptions; their bytes are read again while the new archive is written.
bool ReadOldEntries(const std::string& archive, std::vector<PackEntry>* entries,
                    std::string* error) {
  Reader reader = OpenReader(archive, Format::kSevenZ, error);
  if (!reader) return false;
  struct archive_entry* entry = nullptr;
  bool warned = false;
  while (NextHeader(reader.get(), &entry, error, &warned)) {
    PackEntry old;
    old.old_index = static_cast<std::int64_t>(entries->size());
    if (!ReadOldEntry(entry, warned, &old, error)) return false;
    entries->push_back(std::move(old));
  }
  return error->empty();
}

bool FromDisk(const DiskItem& item, PackEntry* entry, std::string* error) {
  std::int64_t size = item.folder ? 0 : platform::FileSize(item.disk_path);
  if (size < 0) {
    *error = "can't read " + item.disk_path;
    return false;
  }
  entry->name = item.archive_name;
  entry->kind = item.folder ? SevenZKind::kFolder : SevenZKind::kFile;
  entry->permissions = item.folder ? 0755 : 0644;
  entry->modified = item.modified;
  entry->size = static_cast<std::uint64_t>(size);
  if (!item.folder) entry->disk_path = item.disk_path;
  return true;
}

// Writes the archive anew beside the old one and puts it in place only when complete.
bool Rewrite(const Command& command, const std::string& archive,
             const std::vector<PackEntry>& entries, std::string* error) {
  std::string temp = platform::TemporaryNameBeside(archive);
  SevenZWriteOptions options;
  options.strongest = command.strongest;
  options.old_archive = archive;
  bool ok = WriteSevenZ(temp, entries, options, error);
  // A person knows the archive, not its temporary name.
  if (std::size_t at = error->find(temp); !ok && at != std::string::npos)
    error->replace(at, temp.size(), archive);
  platform::Error replacing;
  if (ok && platform::ReplaceFile(temp, archive, &replacing)) return true;
  if (ok) *error = base::WithReason("can't replace " + archive, replacing.reason);
  std::remove(temp.c_str());
  return false;
}

}  // namespace

bool AddToSevenZ(const Command& command, const std::string& archive,
                 const std::vector<DiskItem>& items, bool only_newer, std::string* error) {
  std::vector<PackEntry> old;
  if (platform::FileSize(archive) > 0 && !ReadOldEntries(archive, &old, error)) return false;
  std::unordered_map<std::string, std::int64_t> old_times;
  for (const PackEntry& entry : old) old_times[Key(entry)] = entry.modified;
  std::vector<PackEntry> added;
  std::unordered_set<std::string> replaced;
  for (const DiskItem& item : items) {
    std::string key = Key(item.archive_name, item.folder);
    auto found = old_times.find(key);
    if (found != old_times.end() && (item.folder || (only_newer && found->second >= item.modified)))
      continue;
    added.emplace_back();
    if (!FromDisk(item, &added.back(), error)) return false;
    replaced.insert(key);
  }
  std::vector<PackEntry> entries;
  for (PackEntry& entry : old)
    if (replaced.count(Key(entry)) == 0) entries.push_back(std::move(entry));
  for (PackEntry& entry : added) entries.push_back(std::move(entry));
  return Rewrite(command, archive, entries, error);
}

bool DeleteFromSevenZ(const Command& command, const std::string& archive, std::string* error) {
  std::vector<PackEntry> old, kept;
  if (!ReadOldEntries(archive, &old, error)) return false;
  std::vector<NamePattern> patterns = NamePatterns(command);
  for (PackEntry& entry : old)
    if (!AnyCovers(patterns, entry.name)) kept.push_back(std::move(entry));
  return Rewrite(command, archive, kept, error);
}

}  // namespace oxlip::archive

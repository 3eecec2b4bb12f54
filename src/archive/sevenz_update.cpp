#include <cstdio>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "archive/command_patterns.h"
#include "archive/libarchive_handle.h"
#include "archive/name_pattern.h"
#include "archive/sevenz_archive.h"
#include "platform/fs.h"
#include "platform/open_file.h"

namespace oxlip::archive {
namespace {

// Folded name (folders with a trailing "/"): names match regardless of case.
std::string Key(const std::string& name, bool folder) {
  return FoldedName(name) + (folder ? "/" : "");
}

std::string EntryKey(struct archive_entry* entry) {
  const char* name = archive_entry_pathname_utf8(entry);
  return Key(name ? name : "", archive_entry_filetype(entry) == AE_IFDIR);
}

using DropOld = std::function<bool(struct archive_entry* entry)>;

bool CopyData(struct archive* reader, struct archive* writer, std::string* error) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    la_ssize_t got = archive_read_data(reader, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0 || archive_write_data(writer, buffer.data(), got) != got) {
      *error = "can't copy an entry: " + ArchiveError(got < 0 ? reader : writer);
      return false;
    }
  }
}

bool CopyOldEntries(const std::string& archive, struct archive* writer, const DropOld& drop,
                    std::string* error) {
  Reader reader = OpenReader(archive, Format::kSevenZ, error);
  if (!reader) return false;
  struct archive_entry* entry = nullptr;
  while (NextHeader(reader.get(), &entry, error)) {
    if (drop(entry)) continue;
    if (archive_write_header(writer, entry) != ARCHIVE_OK) {
      *error = "can't copy an entry: " + ArchiveError(writer);
      return false;
    }
    if (!CopyData(reader.get(), writer, error)) return false;
  }
  return error->empty();
}

bool CopyFileData(const DiskItem& item, struct archive* writer, std::int64_t size,
                  std::string* error) {
  // Never through a link, even one that took the file's place since it was listed.
  platform::InputFile in;
  std::vector<char> buffer(1 << 16);
  std::int64_t total = 0, got = 0;
  bool ok = in.Open(item.disk_path);
  while (ok && (got = in.Read(buffer.data(), buffer.size())) > 0) {
    ok = archive_write_data(writer, buffer.data(), got) == got;
    total += got;
  }
  if (ok && got == 0 && total == size) return true;
  *error = "can't read " + item.disk_path;
  return false;
}

bool WriteItem(const DiskItem& item, struct archive* writer, std::string* error) {
  std::int64_t size = item.folder ? 0 : platform::FileSize(item.disk_path);
  if (size < 0) {
    *error = "can't read " + item.disk_path;
    return false;
  }
  std::unique_ptr<struct archive_entry, void (*)(struct archive_entry*)> entry(archive_entry_new(),
                                                                               archive_entry_free);
  archive_entry_set_pathname_utf8(entry.get(), item.archive_name.c_str());
  archive_entry_set_filetype(entry.get(), item.folder ? AE_IFDIR : AE_IFREG);
  archive_entry_set_perm(entry.get(), item.folder ? 0755 : 0644);
  archive_entry_set_mtime(entry.get(), item.modified, 0);
  archive_entry_set_size(entry.get(), size);
  if (archive_write_header(writer, entry.get()) != ARCHIVE_OK) {
    *error = "can't add " + item.disk_path + ": " + ArchiveError(writer);
    return false;
  }
  return item.folder || CopyFileData(item, writer, size, error);
}

// Writes the archive anew beside the old one and puts it in place only when complete.
bool Rewrite(const Command& command, const std::string& archive, bool has_old, const DropOld& drop,
             const std::vector<const DiskItem*>& items, std::string* error) {
  std::string temp = platform::TemporaryNameBeside(archive);
  Writer writer = OpenSevenZWriter(temp, command.strongest, error);
  bool ok = writer != nullptr && (!has_old || CopyOldEntries(archive, writer.get(), drop, error));
  for (std::size_t i = 0; ok && i < items.size(); ++i)
    ok = WriteItem(*items[i], writer.get(), error);
  if (ok && archive_write_close(writer.get()) != ARCHIVE_OK) {
    *error = "can't write " + archive + ": " + ArchiveError(writer.get());
    ok = false;
  }
  writer.reset();
  if (ok && std::rename(temp.c_str(), archive.c_str()) == 0) return true;
  if (ok) *error = "can't replace " + archive;
  std::remove(temp.c_str());
  return false;
}

bool ReadOldTimes(const std::string& archive, std::unordered_map<std::string, time_t>* times,
                  std::string* error) {
  Reader reader = OpenReader(archive, Format::kSevenZ, error);
  if (!reader) return false;
  struct archive_entry* entry = nullptr;
  while (NextHeader(reader.get(), &entry, error))
    (*times)[EntryKey(entry)] = archive_entry_mtime(entry);
  return error->empty();
}

}  // namespace

bool AddToSevenZ(const Command& command, const std::string& archive,
                 const std::vector<DiskItem>& items, bool only_newer, std::string* error) {
  bool has_old = platform::FileSize(archive) > 0;
  std::unordered_map<std::string, time_t> old;
  if (has_old && !ReadOldTimes(archive, &old, error)) return false;
  std::vector<const DiskItem*> taken;
  std::unordered_set<std::string> replaced;
  for (const DiskItem& item : items) {
    std::string key = Key(item.archive_name, item.folder);
    auto found = old.find(key);
    if (found != old.end() && (item.folder || (only_newer && found->second >= item.modified)))
      continue;
    taken.push_back(&item);
    replaced.insert(key);
  }
  auto drop = [&](struct archive_entry* entry) { return replaced.count(EntryKey(entry)) > 0; };
  return Rewrite(command, archive, has_old, drop, taken, error);
}

bool DeleteFromSevenZ(const Command& command, const std::string& archive, std::string* error) {
  std::vector<NamePattern> patterns = NamePatterns(command);
  auto drop = [&](struct archive_entry* entry) {
    const char* name = archive_entry_pathname_utf8(entry);
    return AnyCovers(patterns, name ? name : "");
  };
  return Rewrite(command, archive, true, drop, {}, error);
}

}  // namespace oxlip::archive

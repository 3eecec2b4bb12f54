#include <cstring>
#include <fstream>
#include <vector>

#include "archive/extract_plan.h"
#include "archive/libarchive_handle.h"
#include "archive/name_pattern.h"
#include "archive/output_folder.h"
#include "archive/sevenz_archive.h"
#include "archive/sevenz_folder.h"
#include "archive/sevenz_own_extract.h"
#include "archive/sevenz_reader.h"
#include "archive/write_entry.h"
#include "platform/path.h"

namespace oxlip::archive {
namespace {

// `warned`: libarchive had a warning for this header; without a name, it could not convert it.
bool ReadEntryInfo(struct archive_entry* entry, bool warned, EntryInfo* info, std::string* error) {
  *info = EntryInfo{};
  const char* name = archive_entry_pathname_utf8(entry);
  if (!name && warned) {
    *error = "an entry's name can't be read";
    return false;
  }
  info->name = name ? name : "";  // a nameless entry (packed from a pipe) is skipped
  info->modified = archive_entry_mtime(entry);
  if (archive_entry_hardlink(entry)) {
    *error = "hard link \"" + info->name + "\" is not supported";
    return false;
  }
  switch (archive_entry_filetype(entry)) {
    case AE_IFDIR:
      info->folder = true;
      return true;
    case AE_IFLNK:
      info->link = true;
      if (const char* target = archive_entry_symlink_utf8(entry)) info->link_target = target;
      return true;
    case AE_IFREG:
    case 0:
      return true;
  }
  *error = "entry \"" + info->name + "\" is neither file, folder nor link";
  return false;
}

// The first pass reads headers only, so a hostile entry stops everything before any write.
bool PlanAll(const Command& command, const std::string& archive, std::vector<EntryInfo>* entries,
             std::vector<PlannedEntry>* plans, std::string* error) {
  Reader reader = OpenReader(archive, Format::kSevenZ, error);
  if (!reader) return false;
  struct archive_entry* entry = nullptr;
  bool warned = false;
  while (NextHeader(reader.get(), &entry, error, &warned)) {
    entries->emplace_back();
    plans->emplace_back();
    if (!ReadEntryInfo(entry, warned, &entries->back(), error) ||
        !PlanEntry(command, entries->back(), &plans->back(), error))
      return false;
  }
  return error->empty() && AllNamesFound(command, *entries, error);
}

std::string LzmaContentName(const std::string& archive) {
  std::string name = platform::FileNamePart(archive);
  if (name.size() > 5 && FoldedName(name.substr(name.size() - 5)) == ".lzma")
    return name.substr(0, name.size() - 5);
  return name + "~";
}

}  // namespace

bool IsSevenZFile(const std::string& path) {
  static const char kSignature[6] = {'7', 'z', '\xBC', '\xAF', '\x27', '\x1C'};
  char head[6] = {};
  std::ifstream in(path, std::ios::binary);
  return in.read(head, sizeof head) && std::memcmp(head, kSignature, sizeof head) == 0;
}

bool IsLzmaFile(const std::string& path) {
  std::string error;
  Reader reader = OpenReader(path, Format::kLzma, &error);
  struct archive_entry* entry = nullptr;
  return reader && NextHeader(reader.get(), &entry, &error) &&
         archive_filter_code(reader.get(), 0) == ARCHIVE_FILTER_LZMA;
}

bool ExtractSevenZ(const Command& command, const std::string& archive, std::string* error) {
  // Folders we decode ourselves are decoded while the files are written; anything else, and
  // any archive our reader does not take, goes through libarchive.
  SevenZContents contents;
  std::string why;
  SevenZRead read = ReadSevenZContents(archive, UnpackFolderToString, &contents, &why);
  if (read == SevenZRead::kDamaged) {
    *error = why;
    return false;
  }
  if (read == SevenZRead::kRead && CanExtractOurselves(contents))
    return ExtractOurselves(command, archive, contents, error);
  std::vector<EntryInfo> entries;
  std::vector<PlannedEntry> plans;
  if (!PlanAll(command, archive, &entries, &plans, error)) return false;
  OutputFolder out(command.output);
  Reader reader = OpenReader(archive, Format::kSevenZ, error);
  if (!reader || !out.Prepare(error)) return false;
  struct archive_entry* entry = nullptr;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!NextHeader(reader.get(), &entry, error)) {
      if (error->empty()) *error = "archive changed while reading";
      return false;
    }
    const EntryInfo& info = entries[i];
    auto fill = [&](const Sink& sink, std::string* why) {
      // libarchive hands a link's target over in the header, not as data.
      if (info.link) return sink(info.link_target.data(), info.link_target.size());
      return ReadData(reader.get(), sink, why);
    };
    if (!WriteEntry(out, command, info, plans[i], fill, error)) return false;
  }
  return true;
}

bool ExtractLzma(const Command& command, const std::string& archive, std::string* error) {
  Reader reader = OpenReader(archive, Format::kLzma, error);
  struct archive_entry* entry = nullptr;
  if (!reader || !NextHeader(reader.get(), &entry, error) ||
      archive_filter_code(reader.get(), 0) != ARCHIVE_FILTER_LZMA) {
    if (error->empty()) *error = "not an LZMA file: " + archive;
    return false;
  }
  EntryInfo info;
  info.name = LzmaContentName(archive);
  PlannedEntry plan;
  OutputFolder out(command.output);
  if (!PlanEntry(command, info, &plan, error) || !AllNamesFound(command, {info}, error) ||
      !out.Prepare(error))
    return false;
  auto fill = [&](const Sink& sink, std::string* why) { return ReadData(reader.get(), sink, why); };
  return WriteEntry(out, command, info, plan, fill, error);
}

}  // namespace oxlip::archive

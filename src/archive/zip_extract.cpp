#include <sys/stat.h>

#include <vector>

#include "archive/extract_plan.h"
#include "archive/output_folder.h"
#include "archive/zip_archive.h"
#include "archive/zip_handle.h"

namespace oxlip::archive {
namespace {

constexpr std::size_t kMaxLinkTarget = 4096;

bool CopyEntry(zip_t* zip, zip_uint64_t index, const Sink& sink, std::string* error) {
  zip_file_t* file = zip_fopen_index(zip, index, 0);
  if (!file) {
    *error = std::string("can't read entry: ") + zip_strerror(zip);
    return false;
  }
  std::vector<char> buffer(1 << 16);
  zip_int64_t got = 0;
  bool ok = true;
  // libzip checks the CRC once the last byte is read, so a damaged entry ends in an error here.
  while (ok && (got = zip_fread(file, buffer.data(), buffer.size())) > 0)
    ok = sink(buffer.data(), static_cast<std::size_t>(got));
  if (got < 0) {
    *error = std::string("damaged entry ") + zip_get_name(zip, index, 0) + ": " +
             zip_file_strerror(file);
    ok = false;
  }
  zip_fclose(file);
  return ok;
}

bool ReadLinkTarget(zip_t* zip, zip_uint64_t index, std::string* target, std::string* error) {
  target->clear();
  auto keep = [&](const char* data, std::size_t size) {
    target->append(data, size);
    return target->size() <= kMaxLinkTarget;
  };
  bool ok = CopyEntry(zip, index, keep, error);
  if (!ok && error->empty()) *error = "link target too long";
  return ok;
}

bool ReadEntryInfo(zip_t* zip, zip_uint64_t index, EntryInfo* info, std::string* error) {
  const char* name = zip_get_name(zip, index, ZIP_FL_ENC_GUESS);
  zip_stat_t st;
  if (!name || zip_stat_index(zip, index, 0, &st) != 0) {
    *error = std::string("damaged directory: ") + zip_strerror(zip);
    return false;
  }
  *info = EntryInfo{};
  info->name = name;
  info->folder = !info->name.empty() && (info->name.back() == '/' || info->name.back() == '\\');
  if (st.valid & ZIP_STAT_MTIME) info->modified = st.mtime;
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(zip, index, 0, &system, &attributes) == 0 &&
      system == ZIP_OPSYS_UNIX) {
    mode_t mode = attributes >> 16;
    if (S_ISDIR(mode)) info->folder = true;
    if (S_ISLNK(mode) && !info->folder) {
      info->link = true;
      return ReadLinkTarget(zip, index, &info->link_target, error);
    }
  }
  return true;
}

}  // namespace

bool IsZipFile(const std::string& path) {
  std::string ignored;
  return OpenZip(path, ZIP_RDONLY, &ignored) != nullptr;
}

bool ExtractZip(const Command& command, const std::string& archive, std::string* error) {
  ZipHandle zip = OpenZip(archive, ZIP_RDONLY | ZIP_CHECKCONS, error);
  if (!zip) return false;
  zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  std::vector<EntryInfo> entries(static_cast<std::size_t>(count < 0 ? 0 : count));
  std::vector<PlannedEntry> plans(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (!ReadEntryInfo(zip.get(), i, &entries[i], error) ||
        !PlanEntry(command, entries[i], &plans[i], error))
      return false;
  if (!AllNamesFound(command, entries, error)) return false;
  OutputFolder out(command.output);
  if (!out.Prepare(error)) return false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    auto fill = [&](const Sink& sink, std::string* why) {
      return CopyEntry(zip.get(), i, sink, why);
    };
    if (!WriteEntry(out, command, entries[i], plans[i], fill, error)) return false;
  }
  return true;
}

}  // namespace oxlip::archive

#include <memory>
#include <vector>

#include "archive/extract_plan.h"
#include "archive/output_folder.h"
#include "archive/parallel_entries.h"
#include "archive/zip_archive.h"
#include "archive/zip_entry_reader.h"
#include "archive/zip_handle.h"

namespace oxlip::archive {
namespace {

// The kind bits of the Unix rights that Unix zip programs keep in the external attributes.
constexpr zip_uint32_t kUnixKind = 0170000;
constexpr zip_uint32_t kUnixFolder = 0040000;
constexpr zip_uint32_t kUnixLink = 0120000;

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
  if (st.valid & ZIP_STAT_SIZE) info->size = st.size;
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(zip, index, 0, &system, &attributes) == 0 &&
      system == ZIP_OPSYS_UNIX) {
    zip_uint32_t kind = (attributes >> 16) & kUnixKind;
    if (kind == kUnixFolder) info->folder = true;
    // A link's data is its target text, which is just what its file will hold.
    info->link = kind == kUnixLink && !info->folder;
  }
  return true;
}

}  // namespace

bool IsZipFile(const std::string& path) {
  std::string ignored;
  return OpenZip(path, ZIP_RDONLY, &ignored) != nullptr;
}

bool ExtractZip(const Command& command, const std::string& archive, std::string* error) {
  // Not ZIP_CHECKCONS: libarchive's writers put the size into a local header that also has a
  // data descriptor, which that check refuses and the 7-Zip program opens. Each entry's CRC and
  // size are still checked as it is read.
  ZipHandle zip = OpenZip(archive, ZIP_RDONLY, error);
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
  auto reader_of = [](std::shared_ptr<zip_t> zip) -> EntryReader {
    auto scratch = std::make_shared<ZipScratch>();
    return [zip, scratch](std::size_t index, const Sink& sink, std::string* why) {
      return ReadZipEntry(zip.get(), index, sink, why, scratch.get());
    };
  };
  // Each helper thread reads through a handle of its own.
  auto make_reader = [&](std::string* why) -> EntryReader {
    ZipHandle own = OpenZip(archive, ZIP_RDONLY, why);
    if (!own) return nullptr;
    return reader_of(std::shared_ptr<zip_t>(own.release(), ZipDiscard()));
  };
  return WriteEntries(out, command, entries, plans,
                      reader_of(std::shared_ptr<zip_t>(zip.release(), ZipDiscard())), make_reader,
                      0, error);
}

}  // namespace oxlip::archive

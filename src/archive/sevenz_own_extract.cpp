#include "archive/sevenz_own_extract.h"

#include <libdeflate.h>

#include <memory>
#include <vector>

#include "archive/decoded_folder.h"
#include "archive/sevenz_folder.h"
#include "archive/write_entry.h"

namespace oxlip::archive {
namespace {

constexpr std::uint32_t kWindowsFolder = 0x10;
constexpr std::uint32_t kUnixExtension = 0x8000;
constexpr std::uint32_t kUnixKind = 0170000;
constexpr std::uint32_t kUnixFile = 0100000;
constexpr std::uint32_t kUnixFolder = 0040000;
constexpr std::uint32_t kUnixLink = 0120000;
constexpr std::int64_t kFileTimeToUnix = 11644473600;

std::uint32_t UnixKind(const SevenZEntry& entry) {
  if (!entry.attributes || !(*entry.attributes & kUnixExtension)) return 0;
  return (*entry.attributes >> 16) & kUnixKind;
}

EntryInfo InfoOf(const SevenZEntry& entry, std::uint64_t size) {
  EntryInfo info;
  info.name = entry.name;
  std::uint32_t kind = UnixKind(entry);
  info.folder = entry.folder || kind == kUnixFolder ||
                (entry.attributes && (*entry.attributes & kWindowsFolder));
  // A link's data is its target text, which is just what its file will hold.
  info.link = kind == kUnixLink && !info.folder;
  if (entry.modified)
    info.modified = static_cast<std::time_t>(static_cast<std::int64_t>(*entry.modified / 10000000) -
                                             kFileTimeToUnix);
  info.size = size;
  return info;
}

// Where the stream of each entry lies: its folder and its place among the folder's files.
struct StreamPlace {
  std::size_t folder = 0;
  std::size_t index = 0;
};

bool PlaceStreams(const SevenZContents& contents, std::vector<StreamPlace>* places) {
  std::size_t folder = 0, index = 0;
  for (const SevenZEntry& entry : contents.entries) {
    places->emplace_back();
    if (!entry.has_stream) continue;
    while (folder < contents.folders.size() && index >= contents.folders[folder].sizes.size()) {
      ++folder;
      index = 0;
    }
    if (folder >= contents.folders.size()) return false;
    places->back() = {folder, index++};
  }
  return true;
}

}  // namespace

bool CanExtractOurselves(const SevenZContents& contents) {
  for (const SevenZFolderInfo& folder : contents.folders)
    if (!CanUnpackFolder(folder)) return false;
  for (const SevenZEntry& entry : contents.entries) {
    std::uint32_t kind = UnixKind(entry);
    if (entry.anti || (kind != 0 && kind != kUnixFile && kind != kUnixFolder && kind != kUnixLink))
      return false;  // libarchive says what becomes of these
  }
  return true;
}

bool ExtractOurselves(const Command& command, const std::string& archive,
                      const SevenZContents& contents, std::string* error) {
  std::vector<StreamPlace> places;
  if (!PlaceStreams(contents, &places)) {
    *error = "damaged archive: more files than streams";
    return false;
  }
  std::vector<EntryInfo> entries;
  std::vector<PlannedEntry> plans(contents.entries.size());
  for (std::size_t i = 0; i < contents.entries.size(); ++i) {
    const SevenZEntry& entry = contents.entries[i];
    const StreamPlace& place = places[i];
    std::uint64_t size = entry.has_stream ? contents.folders[place.folder].sizes[place.index] : 0;
    entries.push_back(InfoOf(entry, size));
    if (!PlanEntry(command, entries.back(), &plans[i], error)) return false;
  }
  if (!AllNamesFound(command, entries, error)) return false;
  OutputFolder out(command.output);
  if (!out.Prepare(error)) return false;
  // The folder being read and the next one, both decoding at once.
  std::vector<std::unique_ptr<DecodedFolder>> decoded(contents.folders.size());
  auto folder_at = [&](std::size_t f) -> DecodedFolder& {
    for (std::size_t k = f; k < std::min(f + 2, decoded.size()); ++k)
      if (!decoded[k]) decoded[k] = std::make_unique<DecodedFolder>(archive, contents.folders[k]);
    if (f > 0) decoded[f - 1].reset();
    return *decoded[f];
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SevenZEntry& entry = contents.entries[i];
    const StreamPlace& place = places[i];
    std::uint64_t size = entries[i].size;
    std::optional<std::uint32_t> crc =
        entry.has_stream ? contents.folders[place.folder].crcs[place.index] : std::nullopt;
    bool read = !entry.has_stream;
    auto fill = [&](const Sink& sink, std::string* why) {
      if (read) return true;
      read = true;
      std::uint32_t sum = 0;
      bool passed = folder_at(place.folder)
                        .Pass(
                            size,
                            [&](const char* data, std::size_t n) {
                              sum = libdeflate_crc32(sum, data, n);
                              return sink(data, n);
                            },
                            why);
      if (passed && crc && sum != *crc) {
        *why = "damaged entry " + entry.name + ": CRC mismatch";
        return false;
      }
      return passed;
    };
    if (!WriteEntry(out, command, entries[i], plans[i], fill, error)) return false;
    // Files not written are still read past, to reach those after them in a solid folder.
    if (!read && !fill([](const char*, std::size_t) { return true; }, error)) return false;
  }
  return true;
}

}  // namespace oxlip::archive

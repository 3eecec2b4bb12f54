#pragma once
// The parts of a 7z archive around the packed streams: the header that lists folders, streams
// and entries, and the signature header at the front that points at it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::archive {

// One solid folder: a single LZMA2 coder whose output is one packed stream.
struct SevenZFolder {
  std::uint8_t lzma2_props = 0;  // the dictionary size byte
  std::uint64_t packed_size = 0;
  std::vector<std::uint64_t> sizes;  // each file's bytes, in the order they were packed
  std::vector<std::uint32_t> crcs;   // CRC-32 of each
};

struct SevenZItem {
  std::string name;         // UTF-8, "/"-separated
  bool has_stream = false;  // false: a folder or an empty file
  bool is_folder = false;
  std::uint32_t attributes = 0;
  std::uint64_t modified = 0;  // FILETIME: 100 ns ticks since 1601
};

inline constexpr std::size_t kSevenZSignatureHeaderSize = 32;

// The header for `items`, whose entries with a stream take the folders' files in order. False
// with `error` set when a name is not UTF-8 or the counts disagree.
bool EncodeSevenZHeader(const std::vector<SevenZFolder>& folders,
                        const std::vector<SevenZItem>& items, std::string* header,
                        std::string* error);

// The first 32 bytes of the archive; an empty `header` makes the archive of no entries.
std::string SevenZSignatureHeader(std::uint64_t header_offset, std::string_view header);

// 7z's variable-length number: the count of leading one bits of the first byte tells how many
// little-endian bytes follow.
void AppendSevenZNumber(std::string* out, std::uint64_t value);

// Appends the name as UTF-16LE without terminator; false when it is not valid UTF-8.
bool AppendUtf16Le(std::string* out, std::string_view utf8);

std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds);

// Windows attributes with the Unix mode in the high half, as 7-Zip writes them on Unix.
enum class SevenZKind { kFile, kFolder, kLink };
std::uint32_t SevenZAttributes(SevenZKind kind, std::uint32_t permissions);

}  // namespace oxlip::archive

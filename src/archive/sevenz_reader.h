#pragma once
// The directory of a 7z archive, read by us: its folders (coders and packed streams, the sizes
// and CRCs of the files each one holds) and its entries, so that the folders whose coders we
// know can be decoded straight into files, each on a core of its own.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oxlip::archive {

struct SevenZCoder {
  std::string method;  // the method id bytes
  std::string props;
  std::uint64_t ins = 1, outs = 1;
};

struct SevenZFolderInfo {
  std::vector<SevenZCoder> coders;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> binds;  // in stream, out stream
  std::vector<std::uint64_t> packed_ins;    // the in streams fed by packed streams
  std::vector<std::uint64_t> unpack_sizes;  // one per out stream of all coders
  std::optional<std::uint32_t> crc;         // of the whole unpacked output
  std::vector<std::uint64_t> pack_offsets;  // in the archive file, one per packed stream
  std::vector<std::uint64_t> pack_sizes;
  std::vector<std::uint64_t> sizes;  // the files it holds, in order
  std::vector<std::optional<std::uint32_t>> crcs;

  // The size of the folder's final output (the out stream no bind takes).
  std::uint64_t UnpackSize() const;
};

struct SevenZEntry {
  std::string name;  // UTF-8 as stored ("/" or "\" as the packer wrote them)
  bool has_stream = false;
  bool folder = false;
  bool anti = false;
  std::optional<std::uint32_t> attributes;
  std::optional<std::uint64_t> modified;  // FILETIME
};

struct SevenZContents {
  std::vector<SevenZFolderInfo> folders;
  std::vector<SevenZEntry> entries;
};

// Decodes one folder's output into `out`, which must come to `size` bytes; given to the reader
// so an encoded directory can be unpacked. False with `error` set when it cannot.
using FolderUnpacker = bool (*)(const std::string& archive, const SevenZFolderInfo& folder,
                                std::string* out, std::string* error);

enum class SevenZRead {
  kRead,
  kNotOurs,  // no 7z signature, or what 7-Zip never writes: libarchive may still read it
  kDamaged,  // refused for good: libarchive would trust the same sizes and run out of memory
};

// With `error` set unless kRead.
SevenZRead ReadSevenZContents(const std::string& archive, FolderUnpacker unpack,
                              SevenZContents* contents, std::string* error);

}  // namespace oxlip::archive

#include "archive/sevenz_reader.h"

#include <zlib.h>

#include <cstring>
#include <string_view>

#include "archive/sevenz_folder.h"
#include "archive/sevenz_header.h"
#include "archive/sevenz_property_ids.h"
#include "platform/random_access_file.h"

namespace oxlip::archive {
namespace {

using namespace sevenz_id;

// Counts beyond these are no archive we want to read: they only serve to allocate memory.
constexpr std::uint64_t kMostItems = 1 << 24;
constexpr std::uint64_t kMostCoders = 8;
constexpr std::uint64_t kMostHeaderBytes = std::uint64_t{1} << 30;

// Reads the directory's bytes; every read is checked, and the first failure sticks.
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}

  bool ok() const { return ok_; }
  bool unsupported() const { return unsupported_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  bool Fail() { return ok_ = false; }
  // What 7-Zip never writes but the format allows: left to libarchive rather than refused.
  bool Unsupported() {
    unsupported_ = true;
    return Fail();
  }

  std::uint8_t Byte() {
    if (pos_ >= data_.size()) return Fail(), 0;
    return static_cast<std::uint8_t>(data_[pos_++]);
  }

  std::string_view Take(std::uint64_t n) {
    if (n > data_.size() - pos_) return Fail(), std::string_view();
    std::string_view part = data_.substr(pos_, n);
    pos_ += n;
    return part;
  }

  std::uint64_t Fixed(int n) {
    std::uint64_t value = 0;
    for (int i = 0; i < n; ++i) value |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    return value;
  }

  // The variable-length number: the leading one bits of the first byte count the bytes after.
  std::uint64_t Number() {
    std::uint8_t first = Byte();
    std::uint8_t mask = 0x80;
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i, mask >>= 1) {
      if ((first & mask) == 0)
        return value | (static_cast<std::uint64_t>(first & (mask - 1)) << (8 * i));
      value |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    }
    return value;
  }

  // A count of items that each take at least `bytes_each` of the bytes left, so that a few
  // hostile bytes cannot make us allocate for millions.
  std::uint64_t Count(std::uint64_t most = kMostItems, std::uint64_t bytes_each = 1) {
    std::uint64_t n = Number();
    if (n > most || n > (data_.size() - pos_) / bytes_each + 1) Fail();
    return ok_ ? n : 0;
  }

  std::vector<bool> Bits(std::uint64_t n) {
    std::vector<bool> bits(n);
    std::uint8_t byte = 0;
    for (std::uint64_t i = 0; i < n; ++i) {
      if (i % 8 == 0) byte = Byte();
      bits[i] = (byte & (0x80 >> (i % 8))) != 0;
    }
    return bits;
  }

  // A bit vector preceded by its "all are defined" byte.
  std::vector<bool> Defined(std::uint64_t n) {
    return Byte() != 0 ? std::vector<bool>(n, true) : Bits(n);
  }

  std::vector<std::optional<std::uint32_t>> Digests(std::uint64_t n) {
    std::vector<bool> defined = Defined(n);
    std::vector<std::optional<std::uint32_t>> crcs(n);
    for (std::uint64_t i = 0; i < n && ok_; ++i)
      if (defined[i]) crcs[i] = static_cast<std::uint32_t>(Fixed(4));
    return crcs;
  }

  bool Expect(std::uint8_t id) { return Byte() == id || Fail(); }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
  bool unsupported_ = false;
};

struct Streams {
  std::uint64_t pack_position = 0;
  std::vector<std::uint64_t> pack_sizes;
  std::vector<SevenZFolderInfo> folders;
};

void ReadPackInfo(Bytes& in, Streams& streams) {
  streams.pack_position = in.Number();
  std::uint64_t count = in.Count();
  for (std::uint8_t id = in.Byte(); id != kEnd && in.ok(); id = in.Byte()) {
    if (id == kSize) {
      streams.pack_sizes.resize(count);
      for (std::uint64_t& size : streams.pack_sizes) size = in.Number();
    } else if (id == kCrc) {
      in.Digests(count);  // the files' own CRCs are checked instead
    } else {
      in.Fail();
    }
  }
  if (streams.pack_sizes.size() != count) in.Fail();
}

void ReadFolder(Bytes& in, SevenZFolderInfo& folder) {
  std::uint64_t coders = in.Count(kMostCoders);
  if (coders == 0) in.Fail();
  std::uint64_t ins = 0, outs = 0;
  for (std::uint64_t c = 0; c < coders && in.ok(); ++c) {
    std::uint8_t flags = in.Byte();
    if (flags & 0xC0) in.Unsupported();  // alternative methods
    SevenZCoder coder;
    coder.method = std::string(in.Take(flags & 0x0F));
    if (flags & 0x10) {
      coder.ins = in.Count(kMostCoders);
      coder.outs = in.Count(kMostCoders);
    }
    if (flags & 0x20) coder.props = std::string(in.Take(in.Count(1 << 16)));
    ins += coder.ins;
    outs += coder.outs;
    folder.coders.push_back(std::move(coder));
  }
  if (outs == 0) in.Fail();
  for (std::uint64_t b = 0; b + 1 < outs && in.ok(); ++b) {
    std::uint64_t in_index = in.Number(), out_index = in.Number();
    if (in_index >= ins || out_index >= outs) in.Fail();
    folder.binds.push_back({in_index, out_index});
  }
  if (ins < folder.binds.size() + 1) return (void)in.Fail();
  std::uint64_t packed = ins - folder.binds.size();
  if (packed == 1) {
    for (std::uint64_t i = 0; i < ins; ++i) {
      bool bound = false;
      for (const auto& bind : folder.binds) bound = bound || bind.first == i;
      if (!bound) folder.packed_ins.push_back(i);
    }
    if (folder.packed_ins.size() != 1) in.Fail();
  } else {
    for (std::uint64_t p = 0; p < packed && in.ok(); ++p) folder.packed_ins.push_back(in.Number());
  }
  folder.unpack_sizes.resize(outs);
}

void ReadUnpackInfo(Bytes& in, Streams& streams) {
  in.Expect(kFolder);
  std::uint64_t count = in.Count();
  if (in.Byte() != 0) in.Unsupported();  // folders kept elsewhere
  streams.folders.resize(count);
  for (SevenZFolderInfo& folder : streams.folders) {
    if (!in.ok()) return;
    ReadFolder(in, folder);
  }
  in.Expect(kCodersUnpackSize);
  for (SevenZFolderInfo& folder : streams.folders)
    for (std::uint64_t& size : folder.unpack_sizes) size = in.Number();
  for (std::uint8_t id = in.Byte(); id != kEnd && in.ok(); id = in.Byte()) {
    if (id != kCrc) return (void)in.Fail();
    std::vector<std::optional<std::uint32_t>> crcs = in.Digests(count);
    for (std::uint64_t f = 0; f < count && in.ok(); ++f) streams.folders[f].crc = crcs[f];
  }
}

void ReadSubStreams(Bytes& in, Streams& streams) {
  std::vector<std::uint64_t> counts(streams.folders.size(), 1);
  std::uint8_t id = in.Byte();
  if (id == kNumUnpackStream) {
    for (std::uint64_t& n : counts) n = in.Count();
    id = in.Byte();
  }
  for (std::size_t f = 0; f < streams.folders.size() && in.ok(); ++f) {
    SevenZFolderInfo& folder = streams.folders[f];
    std::uint64_t total = folder.UnpackSize(), sum = 0;
    if (counts[f] == 0) continue;
    for (std::uint64_t i = 0; i + 1 < counts[f] && id == kSize && in.ok(); ++i) {
      folder.sizes.push_back(in.Number());
      sum += folder.sizes.back();
      if (sum > total) in.Fail();
    }
    folder.sizes.push_back(total - sum);
    if (folder.sizes.size() != counts[f]) in.Fail();
  }
  if (id == kSize) id = in.Byte();
  // CRCs are given for the streams whose folder has no CRC of its own or more than one stream.
  std::uint64_t unknown = 0;
  for (std::size_t f = 0; f < streams.folders.size(); ++f)
    if (counts[f] != 1 || !streams.folders[f].crc) unknown += counts[f];
  for (SevenZFolderInfo& folder : streams.folders) folder.crcs.resize(folder.sizes.size());
  for (std::size_t f = 0; f < streams.folders.size(); ++f)
    if (counts[f] == 1 && streams.folders[f].crc)
      streams.folders[f].crcs[0] = streams.folders[f].crc;
  for (; id != kEnd && in.ok(); id = in.Byte()) {
    if (id != kCrc) return (void)in.Fail();
    std::vector<std::optional<std::uint32_t>> crcs = in.Digests(unknown);
    std::size_t k = 0;
    for (std::size_t f = 0; f < streams.folders.size(); ++f)
      if (counts[f] != 1 || !streams.folders[f].crc)
        for (std::uint64_t i = 0; i < counts[f] && k < crcs.size(); ++i)
          streams.folders[f].crcs[i] = crcs[k++];
  }
}

// Places every packed stream in the archive file, checking that each lies inside it.
void PlacePackedStreams(Bytes& in, Streams& streams, std::uint64_t file_size) {
  std::uint64_t at = kSevenZSignatureHeaderSize + streams.pack_position;
  std::size_t next = 0;
  for (SevenZFolderInfo& folder : streams.folders)
    for (std::size_t p = 0; p < folder.packed_ins.size(); ++p, ++next) {
      if (next >= streams.pack_sizes.size()) return (void)in.Fail();
      std::uint64_t size = streams.pack_sizes[next];
      if (at > file_size || size > file_size - at) return (void)in.Fail();
      folder.pack_offsets.push_back(at);
      folder.pack_sizes.push_back(size);
      at += size;
    }
}

void ReadStreamsInfo(Bytes& in, Streams& streams, std::uint64_t file_size) {
  bool substreams = false;
  for (std::uint8_t id = in.Byte(); id != kEnd && in.ok(); id = in.Byte()) {
    if (id == kPackInfo) {
      ReadPackInfo(in, streams);
    } else if (id == kUnpackInfo) {
      ReadUnpackInfo(in, streams);
    } else if (id == kSubStreamsInfo) {
      ReadSubStreams(in, streams);
      substreams = true;
    } else {
      in.Fail();
    }
  }
  if (!substreams)
    for (SevenZFolderInfo& folder : streams.folders) {
      folder.sizes = {folder.UnpackSize()};
      folder.crcs = {folder.crc};
    }
  if (in.ok()) PlacePackedStreams(in, streams, file_size);
}

// UTF-16LE names, each ended by a zero, as UTF-8.
void ReadNames(Bytes& in, std::vector<SevenZEntry>& entries, std::uint64_t size) {
  if (size == 0 || in.Byte() != 0) return (void)in.Fail();
  std::string_view bytes = in.Take(size - 1);
  std::size_t pos = 0;
  for (SevenZEntry& entry : entries) {
    std::u16string name;
    for (;;) {
      if (pos + 2 > bytes.size()) return (void)in.Fail();
      char16_t unit = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[pos]) |
                                            static_cast<std::uint8_t>(bytes[pos + 1]) << 8);
      pos += 2;
      if (unit == 0) break;
      name += unit;
    }
    std::string utf8;
    for (std::size_t i = 0; i < name.size(); ++i) {
      std::uint32_t c = name[i];
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
          name[i + 1] < 0xE000)
        c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
      else if (c >= 0xD800 && c < 0xE000)
        return (void)in.Unsupported();  // a lone half: libarchive says what it makes of it
      if (c < 0x80) {
        utf8 += static_cast<char>(c);
      } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | c >> 6);
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | c >> 12);
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        utf8 += static_cast<char>(0xF0 | c >> 18);
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    entry.name = std::move(utf8);
  }
}

template <typename T, typename Read>
void ReadValues(Bytes& in, std::vector<SevenZEntry>& entries, std::optional<T> SevenZEntry::*field,
                Read read) {
  std::vector<bool> defined = in.Defined(entries.size());
  if (in.Byte() != 0) return (void)in.Unsupported();  // kept elsewhere
  for (std::size_t i = 0; i < entries.size() && in.ok(); ++i)
    if (defined[i]) entries[i].*field = read();
}

void ReadFilesInfo(Bytes& in, std::vector<SevenZEntry>& entries) {
  entries.resize(in.Count(kMostItems, 2));  // each has a name, at least its ending zero
  std::vector<bool> empty_stream(entries.size()), empty_file, anti;
  std::uint64_t empties = 0;
  for (std::uint8_t id = in.Byte(); id != kEnd && in.ok(); id = in.Byte()) {
    std::uint64_t size = in.Number();
    Bytes property(in.Take(size));
    switch (id) {
      case kEmptyStream:
        empty_stream = property.Bits(entries.size());
        empties = 0;
        for (bool e : empty_stream) empties += e;
        break;
      case kEmptyFile:
        empty_file = property.Bits(empties);
        break;
      case kAnti:
        anti = property.Bits(empties);
        break;
      case kName:
        ReadNames(property, entries, size);
        break;
      case kMTime:
        ReadValues<std::uint64_t>(property, entries, &SevenZEntry::modified,
                                  [&] { return property.Fixed(8); });
        break;
      case kWinAttributes:
        ReadValues<std::uint32_t>(property, entries, &SevenZEntry::attributes,
                                  [&] { return static_cast<std::uint32_t>(property.Fixed(4)); });
        break;
      default:
        break;  // times we do not keep, padding
    }
    if (!property.ok()) in.Fail();
  }
  std::size_t k = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].has_stream = !empty_stream[i];
    if (!empty_stream[i]) continue;
    bool is_file = k < empty_file.size() && empty_file[k];
    entries[i].anti = k < anti.size() && anti[k];
    entries[i].folder = !is_file;
    ++k;
  }
}

bool IsSevenZSignature(platform::RandomAccessFile& file) {
  char head[6];
  return file.ReadAt(0, head, sizeof head) == static_cast<std::int64_t>(sizeof head) &&
         std::memcmp(head, "7z\xBC\xAF\x27\x1C", 6) == 0;
}

bool ReadSignatureHeader(platform::RandomAccessFile& file, std::uint64_t* offset,
                         std::uint64_t* size, std::uint32_t* crc, std::string* error) {
  char head[kSevenZSignatureHeaderSize];
  if (file.ReadAt(0, head, sizeof head) != static_cast<std::int64_t>(sizeof head)) {
    *error = "damaged archive: it ends inside its first bytes";
    return false;
  }
  Bytes in(std::string_view(head + 12, 20));
  *offset = in.Fixed(8);
  *size = in.Fixed(8);
  *crc = static_cast<std::uint32_t>(in.Fixed(4));
  std::uint64_t end = static_cast<std::uint64_t>(file.Size());
  std::uint64_t start = kSevenZSignatureHeaderSize;
  if (*offset > end - start || *size > end - start - *offset || *size > kMostHeaderBytes) {
    *error = "damaged archive: the directory lies outside the file";
    return false;
  }
  *offset += start;
  return true;
}

}  // namespace

std::uint64_t SevenZFolderInfo::UnpackSize() const {
  for (std::size_t out = unpack_sizes.size(); out-- > 0;) {
    bool bound = false;
    for (const auto& bind : binds) bound = bound || bind.second == out;
    if (!bound) return unpack_sizes[out];
  }
  return 0;
}

SevenZRead ReadSevenZContents(const std::string& archive, FolderUnpacker unpack,
                              SevenZContents* contents, std::string* error) {
  platform::RandomAccessFile file;
  if (!file.OpenForReading(archive)) {
    *error = "can't open " + archive;
    return SevenZRead::kNotOurs;
  }
  if (!IsSevenZSignature(file)) {
    *error = "not a 7z archive";
    return SevenZRead::kNotOurs;
  }
  std::uint64_t offset = 0, size = 0;
  std::uint32_t crc = 0;
  if (!ReadSignatureHeader(file, &offset, &size, &crc, error)) return SevenZRead::kDamaged;
  std::string header(size, '\0');
  if (file.ReadAt(static_cast<std::int64_t>(offset), header.data(), size) !=
          static_cast<std::int64_t>(size) ||
      crc32(0, reinterpret_cast<const Bytef*>(header.data()), static_cast<uInt>(size)) != crc) {
    *error = "damaged archive: its directory does not match its CRC";
    return SevenZRead::kDamaged;
  }
  std::uint64_t file_size = static_cast<std::uint64_t>(file.Size());
  // A packed directory is a folder of its own that unpacks to the real one.
  for (int round = 0; round < 4 && !header.empty() && header[0] == kEncodedHeader; ++round) {
    Bytes in(std::string_view(header).substr(1));
    Streams streams;
    ReadStreamsInfo(in, streams, file_size);
    if (!in.ok() || streams.folders.size() != 1) {
      *error = "damaged archive: its packed directory can't be read";
      return in.unsupported() ? SevenZRead::kNotOurs : SevenZRead::kDamaged;
    }
    if (!CanUnpackFolder(streams.folders[0])) {
      *error = "its packed directory uses a method we leave to libarchive";
      return SevenZRead::kNotOurs;
    }
    std::string unpacked;
    if (!unpack(archive, streams.folders[0], &unpacked, error)) return SevenZRead::kDamaged;
    header = std::move(unpacked);
  }
  Bytes in(header);
  Streams streams;
  if (in.Byte() != kHeader) in.Fail();
  std::uint8_t id = in.Byte();
  if (id == kArchiveProperties || id == kAdditionalStreamsInfo) in.Unsupported();
  if (id == kMainStreamsInfo) {
    ReadStreamsInfo(in, streams, file_size);
    id = in.Byte();
  }
  if (id == kFilesInfo) {
    ReadFilesInfo(in, contents->entries);
    id = in.Byte();
  }
  if (id != kEnd) in.Fail();
  std::size_t with_stream = 0, streams_held = 0;
  for (const SevenZEntry& entry : contents->entries) with_stream += entry.has_stream;
  for (const SevenZFolderInfo& folder : streams.folders) streams_held += folder.sizes.size();
  if (!in.ok() || with_stream != streams_held) {
    *error = "damaged archive: its directory can't be read";
    return in.unsupported() ? SevenZRead::kNotOurs : SevenZRead::kDamaged;
  }
  contents->folders = std::move(streams.folders);
  return SevenZRead::kRead;
}

}  // namespace oxlip::archive

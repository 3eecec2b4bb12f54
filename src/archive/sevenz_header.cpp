#include "archive/sevenz_header.h"

#include <lzma.h>

#include "archive/sevenz_property_ids.h"

namespace oxlip::archive {
namespace {

using namespace sevenz_id;

constexpr std::uint8_t kLzma2Method = 0x21;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kUnixExtension = 0x8000;  // the high 16 bits hold st_mode
constexpr std::uint32_t kModeFolder = 0040000, kModeFile = 0100000, kModeLink = 0120000;
constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ull;

void AppendLittleEndian(std::string* out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t Crc32(std::string_view data) {
  return lzma_crc32(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), 0);
}

// Bit vectors are written most significant bit first.
std::string Bits(const std::vector<bool>& bits) {
  std::string out((bits.size() + 7) / 8, '\0');
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i]) out[i / 8] = static_cast<char>(out[i / 8] | (0x80 >> (i % 8)));
  return out;
}

void AppendProperty(std::string* out, Id id, const std::string& data) {
  out->push_back(static_cast<char>(id));
  AppendSevenZNumber(out, data.size());
  out->append(data);
}

void AppendStreamsInfo(std::string* out, const std::vector<SevenZFolder>& folders) {
  out->push_back(kPackInfo);
  AppendSevenZNumber(out, 0);  // the packed streams follow the signature header directly
  AppendSevenZNumber(out, folders.size());
  out->push_back(kSize);
  for (const SevenZFolder& folder : folders) AppendSevenZNumber(out, folder.packed_size);
  out->push_back(kEnd);

  out->push_back(kUnpackInfo);
  out->push_back(kFolder);
  AppendSevenZNumber(out, folders.size());
  out->push_back(0);  // not external
  for (const SevenZFolder& folder : folders) {
    AppendSevenZNumber(out, 1);  // one coder
    out->push_back(0x21);        // a one-byte method id, with properties
    out->push_back(kLzma2Method);
    AppendSevenZNumber(out, 1);
    out->push_back(static_cast<char>(folder.lzma2_props));
  }
  out->push_back(kCodersUnpackSize);
  for (const SevenZFolder& folder : folders) {
    std::uint64_t total = 0;
    for (std::uint64_t size : folder.sizes) total += size;
    AppendSevenZNumber(out, total);
  }
  out->push_back(kEnd);

  out->push_back(kSubStreamsInfo);
  out->push_back(kNumUnpackStream);
  bool several = false;
  for (const SevenZFolder& folder : folders) {
    AppendSevenZNumber(out, folder.sizes.size());
    several = several || folder.sizes.size() > 1;
  }
  if (several) {
    out->push_back(kSize);  // every size but a folder's last, which the folder's total implies
    for (const SevenZFolder& folder : folders)
      for (std::size_t i = 0; i + 1 < folder.sizes.size(); ++i)
        AppendSevenZNumber(out, folder.sizes[i]);
  }
  out->push_back(kCrc);
  out->push_back(1);  // all defined
  for (const SevenZFolder& folder : folders)
    for (std::uint32_t crc : folder.crcs) AppendLittleEndian(out, crc, 4);
  out->push_back(kEnd);
  out->push_back(kEnd);
}

bool AppendFilesInfo(std::string* out, const std::vector<SevenZItem>& items, std::string* error) {
  out->push_back(kFilesInfo);
  AppendSevenZNumber(out, items.size());
  std::vector<bool> empty_stream, empty_file;
  for (const SevenZItem& item : items) {
    empty_stream.push_back(!item.has_stream);
    if (!item.has_stream) empty_file.push_back(!item.is_folder);
  }
  if (!empty_file.empty()) AppendProperty(out, kEmptyStream, Bits(empty_stream));
  bool any_empty_file = false;
  for (bool empty : empty_file) any_empty_file = any_empty_file || empty;
  if (any_empty_file) AppendProperty(out, kEmptyFile, Bits(empty_file));

  std::string names(1, '\0');  // not external
  for (const SevenZItem& item : items) {
    if (!AppendUtf16Le(&names, item.name)) {
      *error = "name is not UTF-8: " + item.name;
      return false;
    }
    names.append(2, '\0');
  }
  AppendProperty(out, kName, names);

  std::string times("\x01\x00", 2);  // all defined, not external
  std::string attributes("\x01\x00", 2);
  for (const SevenZItem& item : items) {
    AppendLittleEndian(&times, item.modified, 8);
    AppendLittleEndian(&attributes, item.attributes, 4);
  }
  AppendProperty(out, kMTime, times);
  AppendProperty(out, kWinAttributes, attributes);
  out->push_back(kEnd);
  return true;
}

}  // namespace

void AppendSevenZNumber(std::string* out, std::uint64_t value) {
  // With `extra` bytes following, 7 * (extra + 1) bits fit (56 with 7); 8 bytes hold anything.
  int extra = 0;
  while (extra < 8 && value >> (7 * (extra + 1)) != 0) ++extra;
  std::uint8_t first = static_cast<std::uint8_t>(0xFF00 >> extra);
  if (extra < 7) first = static_cast<std::uint8_t>(first | (value >> (8 * extra)));
  out->push_back(static_cast<char>(first));
  AppendLittleEndian(out, value, extra);
}

bool AppendUtf16Le(std::string* out, std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(utf8[at]); };
    std::uint8_t lead = byte(i);
    int length = lead < 0x80                   ? 1
                 : lead >= 0xC2 && lead < 0xE0 ? 2
                 : lead >= 0xE0 && lead < 0xF0 ? 3
                 : lead >= 0xF0 && lead < 0xF5 ? 4
                                               : 0;
    if (length == 0 || i + length > utf8.size()) return false;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return false;
      code = (code << 6) | (byte(i + k) & 0x3F);
    }
    static const std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    if (code >= 0x10000) {
      code -= 0x10000;
      AppendLittleEndian(out, 0xD800 | (code >> 10), 2);
      AppendLittleEndian(out, 0xDC00 | (code & 0x3FF), 2);
    } else {
      AppendLittleEndian(out, code, 2);
    }
    i += length;
  }
  return true;
}

bool EncodeSevenZHeader(const std::vector<SevenZFolder>& folders,
                        const std::vector<SevenZItem>& items, std::string* header,
                        std::string* error) {
  std::size_t streams = 0, with_stream = 0;
  for (const SevenZFolder& folder : folders) {
    if (folder.sizes.empty() || folder.sizes.size() != folder.crcs.size()) {
      *error = "a folder's streams are not listed";
      return false;
    }
    streams += folder.sizes.size();
  }
  for (const SevenZItem& item : items) with_stream += item.has_stream ? 1 : 0;
  if (streams != with_stream) {
    *error = "entries and streams disagree";
    return false;
  }
  header->clear();
  if (items.empty()) return true;
  header->push_back(kHeader);
  if (!folders.empty()) {
    header->push_back(kMainStreamsInfo);
    AppendStreamsInfo(header, folders);
  }
  if (!AppendFilesInfo(header, items, error)) return false;
  header->push_back(kEnd);
  return true;
}

std::string SevenZSignatureHeader(std::uint64_t header_offset, std::string_view header) {
  std::string start;
  if (!header.empty()) {
    AppendLittleEndian(&start, header_offset, 8);
    AppendLittleEndian(&start, header.size(), 8);
    AppendLittleEndian(&start, Crc32(header), 4);
  } else {
    start.assign(20, '\0');
  }
  std::string out("7z\xBC\xAF\x27\x1C\x00\x04", 8);
  AppendLittleEndian(&out, Crc32(start), 4);
  return out + start;
}

std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds) {
  if (seconds < -static_cast<std::int64_t>(kSecondsFrom1601To1970)) return 0;
  std::uint64_t since_1601 = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970);
  return since_1601 * 10000000ull + nanoseconds / 100;
}

std::uint32_t SevenZAttributes(SevenZKind kind, std::uint32_t permissions) {
  permissions &= 07777;
  switch (kind) {
    case SevenZKind::kFolder:
      return kFileAttributeDirectory | kUnixExtension | ((kModeFolder | permissions) << 16);
    case SevenZKind::kLink:
      return kFileAttributeArchive | kUnixExtension | ((kModeLink | 0777) << 16);
    case SevenZKind::kFile:
      break;
  }
  return kFileAttributeArchive | kUnixExtension | ((kModeFile | permissions) << 16);
}

}  // namespace oxlip::archive

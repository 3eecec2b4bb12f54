#include "archive/zip_entry_reader.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive/inflate64.h"
#include "archive/libarchive_handle.h"

namespace oxlip::archive {

struct ZipScratch::Parts {
  std::vector<char> packed, plain;
  libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
  ~Parts() { libdeflate_free_decompressor(inflater); }
};

ZipScratch::ZipScratch() : parts_(std::make_unique<Parts>()) {}
ZipScratch::~ZipScratch() = default;

namespace {

constexpr zip_uint16_t kDeflate64 = 9;
// Entries up to this size are decoded in memory in one go; larger ones are streamed.
constexpr zip_uint64_t kWholeEntryBytes = 64 << 20;

struct FileClose {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, FileClose>;

std::string EntryName(zip_t* zip, zip_uint64_t index) {
  const char* name = zip_get_name(zip, index, ZIP_FL_ENC_GUESS);
  return name ? name : "?";
}

bool ThroughLibzip(zip_t* zip, zip_uint64_t index, const Sink& sink, std::string* error) {
  ZipFile file(zip_fopen_index(zip, index, 0));
  if (!file) {
    *error = "can't read " + EntryName(zip, index) + ": " + zip_strerror(zip);
    return false;
  }
  std::vector<char> buffer(1 << 16);
  zip_int64_t got = 0;
  bool ok = true;
  // libzip checks the CRC once the last byte is read, so a damaged entry ends in an error here.
  while (ok && (got = zip_fread(file.get(), buffer.data(), buffer.size())) > 0)
    ok = sink(buffer.data(), static_cast<std::size_t>(got));
  if (got < 0) {
    *error = "damaged entry " + EntryName(zip, index) + ": " + zip_file_strerror(file.get());
    return false;
  }
  return ok;
}

void Put16(std::string* out, std::uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string* out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void Put64(std::string* out, std::uint64_t value) {
  Put32(out, static_cast<std::uint32_t>(value));
  Put32(out, static_cast<std::uint32_t>(value >> 32));
}

// A local header for the entry alone, so libarchive's streaming reader decodes just this
// entry's raw data (it cannot be pointed at an entry of libzip's directory).
std::string LocalHeader(const zip_stat_t& st) {
  bool large = st.size >= 0xFFFFFFFFu || st.comp_size >= 0xFFFFFFFFu;
  std::string header;
  Put32(&header, 0x04034b50);
  Put16(&header, large ? 45 : 20);
  Put16(&header, 0);  // flags: no encryption, sizes here rather than after the data
  Put16(&header, st.comp_method);
  Put32(&header, 0x00210000);  // 1980-01-01 00:00
  Put32(&header, st.crc);
  Put32(&header, large ? 0xFFFFFFFFu : static_cast<std::uint32_t>(st.comp_size));
  Put32(&header, large ? 0xFFFFFFFFu : static_cast<std::uint32_t>(st.size));
  Put16(&header, 1);
  Put16(&header, large ? 20 : 0);
  header += 'x';
  if (large) {
    Put16(&header, 0x0001);
    Put16(&header, 16);
    Put64(&header, st.size);
    Put64(&header, st.comp_size);
  }
  return header;
}

struct RawFeed {
  zip_file_t* raw;
  std::string header;
  bool header_given = false;
  std::vector<char> buffer = std::vector<char>(1 << 16);
};

la_ssize_t ReadFeed(struct archive* reader, void* data, const void** block) {
  auto* feed = static_cast<RawFeed*>(data);
  if (!feed->header_given) {
    feed->header_given = true;
    *block = feed->header.data();
    return static_cast<la_ssize_t>(feed->header.size());
  }
  zip_int64_t got = zip_fread(feed->raw, feed->buffer.data(), feed->buffer.size());
  if (got < 0) {
    archive_set_error(reader, EIO, "%s", zip_file_strerror(feed->raw));
    return -1;
  }
  *block = feed->buffer.data();
  return static_cast<la_ssize_t>(got);
}

bool ThroughLibarchive(zip_file_t* raw, const zip_stat_t& st, const Sink& sink,
                       std::string* error) {
  RawFeed feed{raw, LocalHeader(st)};
  Reader reader(archive_read_new());
  archive_read_support_format_zip_streamable(reader.get());
  struct archive_entry* entry = nullptr;
  if (archive_read_open(reader.get(), &feed, nullptr, ReadFeed, nullptr) != ARCHIVE_OK ||
      archive_read_next_header(reader.get(), &entry) != ARCHIVE_OK) {
    *error = ArchiveError(reader.get());
    return false;
  }
  return ReadData(reader.get(), sink, error);
}

// Methods libzip does not know; the result is checked against the entry's size and CRC.
bool ThroughRawData(zip_t* zip, zip_uint64_t index, const zip_stat_t& st, const Sink& sink,
                    std::string* error) {
  std::string name = EntryName(zip, index);
  ZipFile raw(zip_fopen_index(zip, index, ZIP_FL_COMPRESSED));
  if (!raw) {
    *error = "can't read " + name + ": " + zip_strerror(zip);
    return false;
  }
  uLong crc = crc32(0, nullptr, 0);
  zip_uint64_t size = 0;
  auto checked = [&](const char* data, std::size_t length) {
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(length));
    size += length;
    return sink(data, length);
  };
  std::string why;
  bool ok = st.comp_method == kDeflate64
                ? Inflate64([&](char* data,
                                std::size_t length) { return zip_fread(raw.get(), data, length); },
                            checked, &why)
                : ThroughLibarchive(raw.get(), st, checked, &why);
  if (!ok && why.empty()) return false;  // the sink failed and said why
  if (ok && (size != st.size || crc != st.crc)) why = "CRC or size mismatch";
  if (why.empty()) return true;
  *error = "damaged entry " + name + ": " + why;
  return false;
}

bool ReadRaw(zip_t* zip, zip_uint64_t index, zip_uint64_t size, std::vector<char>* into,
             std::string* error) {
  ZipFile raw(zip_fopen_index(zip, index, ZIP_FL_COMPRESSED));
  if (!raw) {
    *error = "can't read " + EntryName(zip, index) + ": " + zip_strerror(zip);
    return false;
  }
  if (into->size() < size) into->resize(size);
  zip_uint64_t have = 0;
  while (have < size) {
    zip_int64_t got = zip_fread(raw.get(), into->data() + have, size - have);
    if (got <= 0) {
      *error = "damaged entry " + EntryName(zip, index) + ": data ends early";
      return false;
    }
    have += static_cast<zip_uint64_t>(got);
  }
  return true;
}

// The whole entry in memory: one read, one decoding, one write, and a CRC at memory speed.
bool ThroughMemory(zip_t* zip, zip_uint64_t index, const zip_stat_t& st, const Sink& sink,
                   ZipScratch::Parts& scratch, std::string* error) {
  if (!ReadRaw(zip, index, st.comp_size, &scratch.packed, error)) return false;
  const char* plain = scratch.packed.data();
  if (st.comp_method == ZIP_CM_DEFLATE) {
    if (scratch.plain.size() < st.size) scratch.plain.resize(st.size);
    std::size_t made = 0;
    libdeflate_result result =
        scratch.inflater
            ? libdeflate_deflate_decompress(scratch.inflater, scratch.packed.data(), st.comp_size,
                                            scratch.plain.data(), st.size, &made)
            : LIBDEFLATE_BAD_DATA;
    // More data than the entry claims: streamed instead, so the extraction budget sees it all.
    if (result == LIBDEFLATE_INSUFFICIENT_SPACE) return ThroughLibzip(zip, index, sink, error);
    if (result != LIBDEFLATE_SUCCESS || made != st.size) {
      *error = "damaged entry " + EntryName(zip, index) + ": invalid Deflate data";
      return false;
    }
    plain = scratch.plain.data();
  } else if (st.size != st.comp_size) {
    *error = "damaged entry " + EntryName(zip, index) + ": CRC or size mismatch";
    return false;
  }
  if (libdeflate_crc32(0, plain, st.size) != st.crc) {
    *error = "damaged entry " + EntryName(zip, index) + ": CRC or size mismatch";
    return false;
  }
  return sink(plain, st.size);
}

}  // namespace

bool ReadZipEntry(zip_t* zip, zip_uint64_t index, const Sink& sink, std::string* error,
                  ZipScratch* scratch) {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(zip, index, 0, &st) != 0) {
    *error = std::string("damaged directory: ") + zip_strerror(zip);
    return false;
  }
  bool known =
      !(st.valid & ZIP_STAT_COMP_METHOD) || zip_compression_method_supported(st.comp_method, 0);
  bool plain = !(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method == ZIP_EM_NONE;
  bool sized =
      (st.valid & ZIP_STAT_CRC) && (st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE);
  bool simple = (st.valid & ZIP_STAT_COMP_METHOD) &&
                (st.comp_method == ZIP_CM_STORE || st.comp_method == ZIP_CM_DEFLATE);
  if (scratch && simple && plain && sized && st.size <= kWholeEntryBytes &&
      st.comp_size <= kWholeEntryBytes)
    return ThroughMemory(zip, index, st, sink, scratch->parts(), error);
  if (known || !plain || !sized) return ThroughLibzip(zip, index, sink, error);
  return ThroughRawData(zip, index, st, sink, error);
}

}  // namespace oxlip::archive

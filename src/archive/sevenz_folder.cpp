#include "archive/sevenz_folder.h"

#include <bzlib.h>
#include <lzma.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "archive/bzip2_blocks.h"
#include "archive/ppmd7_decoder.h"
#include "platform/large_memory.h"
#include "platform/random_access_file.h"

namespace oxlip::archive {
namespace {

const std::string kCopy("\x00", 1);
const std::string kLzma("\x03\x01\x01", 3);
const std::string kLzma2("\x21", 1);
const std::string kBzip2("\x04\x02\x02", 3);
const std::string kPpmd("\x03\x04\x01", 3);
const std::string kX86("\x03\x03\x01\x03", 4);
const std::string kArm("\x03\x03\x05\x01", 4);
const std::string kDelta("\x03", 1);

// Decoded output goes on in pieces small enough to stay in the cache.
constexpr std::size_t kPiece = 1 << 17;
constexpr std::size_t kInputPiece = 1 << 20;
constexpr std::uint64_t kMostDirectoryBytes = 256 << 20;
// BZip2 folders from this size on are decoded a block per core, their packed data in memory.
constexpr std::uint64_t kBlocksFromBytes = 2 << 20;
constexpr std::uint64_t kMostBlocksInMemory = 256 << 20;

// Coder i's output feeds coder i-1, the last reads the packed stream, coder 0 gives the result.
bool IsChain(const SevenZFolderInfo& folder) {
  std::size_t n = folder.coders.size();
  if (folder.packed_ins.size() != 1 || folder.packed_ins[0] != n - 1 ||
      folder.binds.size() + 1 != n || folder.pack_offsets.size() != 1)
    return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (folder.coders[i].ins != 1 || folder.coders[i].outs != 1) return false;
    if (i + 1 < n && (folder.binds[i].first != i || folder.binds[i].second != i + 1)) return false;
  }
  return true;
}

bool IsFilter(const std::string& method) {
  return method == kX86 || method == kArm || method == kDelta;
}

lzma_vli FilterId(const std::string& method) {
  if (method == kLzma) return LZMA_FILTER_LZMA1;
  if (method == kLzma2) return LZMA_FILTER_LZMA2;
  if (method == kX86) return LZMA_FILTER_X86;
  if (method == kArm) return LZMA_FILTER_ARM;
  return LZMA_FILTER_DELTA;
}

// The packed stream, piece by piece.
class PackedInput {
 public:
  // The buffer is no larger than the data and not cleared: an archive of a thousand small
  // stored files has a thousand folders.
  PackedInput(const std::string& archive, const SevenZFolderInfo& folder)
      : at_(folder.pack_offsets[0]),
        left_(folder.pack_sizes[0]),
        capacity_(static_cast<std::size_t>(std::min<std::uint64_t>(left_, kInputPiece))),
        buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {
    open_ = file_.OpenForReading(archive);
  }

  // The next piece; empty at the end; false on a read failure.
  bool Next(const char** data, std::size_t* size) {
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left_, capacity_));
    *data = buffer_.get();
    *size = 0;
    if (want == 0) return true;
    std::int64_t got =
        open_ ? file_.ReadAt(static_cast<std::int64_t>(at_), buffer_.get(), want) : -1;
    if (got <= 0) return false;
    at_ += static_cast<std::uint64_t>(got);
    left_ -= static_cast<std::uint64_t>(got);
    *size = static_cast<std::size_t>(got);
    return true;
  }

 private:
  platform::RandomAccessFile file_;
  bool open_ = false;
  std::uint64_t at_, left_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
};

// Where decoded bytes go before the sink, sized for the folder and not cleared.
class OutputPiece {
 public:
  explicit OutputPiece(std::uint64_t unpacked)
      : size_(static_cast<std::size_t>(std::min<std::uint64_t>(unpacked, kPiece))),
        data_(std::make_unique_for_overwrite<char[]>(size_)) {}
  char* data() { return data_.get(); }
  std::size_t size() const { return size_; }

 private:
  std::size_t size_;
  std::unique_ptr<char[]> data_;
};

bool Damaged(std::string* error, const char* why) {
  *error = std::string("damaged archive: ") + why;
  return false;
}

// liblzma's dictionary comes from here: in large pages where the system gives them, so that the
// decoder's first writes across it fault once per large page instead of once per 4 KB.
class DictionaryAllocator {
 public:
  DictionaryAllocator() : allocator_{&Alloc, &Free, this} {}
  const lzma_allocator* get() const { return &allocator_; }

 private:
  static constexpr std::size_t kLargeFrom = 1 << 20;

  static void* Alloc(void* opaque, std::size_t count, std::size_t size) {
    if (size != 0 && count > SIZE_MAX / size) return nullptr;
    std::size_t bytes = count * size;
    if (bytes < kLargeFrom) return std::malloc(bytes);
    auto block = std::make_unique<platform::LargeMemory>();
    if (!block->Allocate(bytes)) return nullptr;
    void* data = block->data();
    static_cast<DictionaryAllocator*>(opaque)->large_.push_back(std::move(block));
    return data;
  }
  static void Free(void* opaque, void* data) {
    auto& large = static_cast<DictionaryAllocator*>(opaque)->large_;
    auto it = std::find_if(large.begin(), large.end(),
                           [&](const auto& block) { return block->data() == data; });
    if (it == large.end())
      std::free(data);
    else
      large.erase(it);
  }

  lzma_allocator allocator_;
  std::vector<std::unique_ptr<platform::LargeMemory>> large_;
};

struct LzmaEnd {
  void operator()(lzma_stream* stream) const { lzma_end(stream); }
};

bool ThroughLiblzma(PackedInput& input, const SevenZFolderInfo& folder, const Sink& sink,
                    std::string* error) {
  std::size_t n = folder.coders.size();
  std::vector<lzma_filter> filters(n + 1);
  bool ok = true;
  for (std::size_t i = 0; i < n && ok; ++i) {
    filters[i].id = FilterId(folder.coders[i].method);
    const std::string& props = folder.coders[i].props;
    ok = lzma_properties_decode(&filters[i], nullptr,
                                reinterpret_cast<const std::uint8_t*>(props.data()),
                                props.size()) == LZMA_OK;
    // No match reaches further back than the output's start: a dictionary larger than the
    // output, which a hostile archive may ask for by the gigabyte, is never needed.
    if (ok && (filters[i].id == LZMA_FILTER_LZMA1 || filters[i].id == LZMA_FILTER_LZMA2)) {
      auto* options = static_cast<lzma_options_lzma*>(filters[i].options);
      options->dict_size = static_cast<std::uint32_t>(std::max<std::uint64_t>(
          std::min<std::uint64_t>(folder.UnpackSize(), options->dict_size), LZMA_DICT_SIZE_MIN));
    }
  }
  filters[n].id = LZMA_VLI_UNKNOWN;
  DictionaryAllocator allocator;
  lzma_stream stream = LZMA_STREAM_INIT;
  stream.allocator = allocator.get();
  std::unique_ptr<lzma_stream, LzmaEnd> owner(&stream);
  ok = ok && lzma_raw_decoder(&stream, filters.data()) == LZMA_OK;
  for (lzma_filter& filter : filters) free(filter.options);
  if (!ok) return Damaged(error, "unknown coder properties");
  std::uint64_t left = folder.UnpackSize();
  OutputPiece out(folder.UnpackSize());
  const char* data = nullptr;
  std::size_t size = 0;
  while (left > 0) {
    if (stream.avail_in == 0) {
      if (!input.Next(&data, &size)) return Damaged(error, "can't read the packed data");
      stream.next_in = reinterpret_cast<const std::uint8_t*>(data);
      stream.avail_in = size;
    }
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(left, out.size()));
    stream.next_out = reinterpret_cast<std::uint8_t*>(out.data());
    stream.avail_out = room;
    bool starved = stream.avail_in == 0;
    lzma_ret result = lzma_code(&stream, LZMA_RUN);
    std::size_t made = room - stream.avail_out;
    if (result != LZMA_OK && result != LZMA_STREAM_END) return Damaged(error, "invalid data");
    if (made == 0 && (starved || result == LZMA_STREAM_END))
      return Damaged(error, "data ends early");
    if (made > 0 && !sink(out.data(), made)) return false;
    left -= made;
  }
  return true;
}

struct BzipEnd {
  void operator()(bz_stream* stream) const { BZ2_bzDecompressEnd(stream); }
};

// One bzip2 stream after another, as long as output is due.
bool ThroughLibbz2(PackedInput& input, const SevenZFolderInfo& folder, const Sink& sink,
                   std::string* error) {
  std::uint64_t left = folder.UnpackSize();
  OutputPiece out(folder.UnpackSize());
  const char* data = nullptr;
  std::size_t size = 0;
  bz_stream stream{};
  if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) return Damaged(error, "out of memory");
  std::unique_ptr<bz_stream, BzipEnd> owner(&stream);
  while (left > 0) {
    if (stream.avail_in == 0) {
      if (!input.Next(&data, &size)) return Damaged(error, "can't read the packed data");
      if (size == 0) return Damaged(error, "data ends early");
      stream.next_in = const_cast<char*>(data);
      stream.avail_in = static_cast<unsigned>(size);
    }
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(left, out.size()));
    stream.next_out = out.data();
    stream.avail_out = static_cast<unsigned>(room);
    int result = BZ2_bzDecompress(&stream);
    std::size_t made = room - stream.avail_out;
    if (result != BZ_OK && result != BZ_STREAM_END) return Damaged(error, "invalid data");
    if (made > 0 && !sink(out.data(), made)) return false;
    left -= made;
    if (result == BZ_STREAM_END && left > 0) {
      // The next stream starts afresh.
      unsigned pending = stream.avail_in;
      char* next = stream.next_in;
      BZ2_bzDecompressEnd(&stream);
      stream = bz_stream{};
      if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) return Damaged(error, "out of memory");
      stream.next_in = next;
      stream.avail_in = pending;
    }
  }
  return true;
}

bool Copied(PackedInput& input, const SevenZFolderInfo& folder, const Sink& sink,
            std::string* error) {
  std::uint64_t left = folder.UnpackSize();
  if (left != folder.pack_sizes[0]) return Damaged(error, "sizes disagree");
  while (left > 0) {
    const char* data = nullptr;
    std::size_t size = 0;
    if (!input.Next(&data, &size) || size == 0) return Damaged(error, "can't read the data");
    if (!sink(data, size)) return false;
    left -= size;
  }
  return true;
}

bool ReadPacked(const std::string& archive, const SevenZFolderInfo& folder, std::string* packed) {
  PackedInput input(archive, folder);
  const char* data = nullptr;
  std::size_t size = 0;
  while (input.Next(&data, &size) && size > 0) packed->append(data, size);
  return packed->size() == folder.pack_sizes[0];
}

}  // namespace

bool CanUnpackFolder(const SevenZFolderInfo& folder) {
  if (folder.coders.empty() || !IsChain(folder)) return false;
  const std::string& last = folder.coders.back().method;
  std::size_t n = folder.coders.size();
  if (n == 1 && (last == kCopy || last == kBzip2)) return true;
  if (n == 1 && last == kPpmd) return PpmdPropertiesValid(folder.coders.back().props);
  if (last != kLzma && last != kLzma2) return false;
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (!IsFilter(folder.coders[i].method)) return false;
  return true;
}

bool UnpackFolder(const std::string& archive, const SevenZFolderInfo& folder, const Sink& sink,
                  std::string* error) {
  if (!CanUnpackFolder(folder)) return Damaged(error, "unknown coders");
  const std::string& method = folder.coders.back().method;
  if (method == kBzip2 && folder.UnpackSize() >= kBlocksFromBytes &&
      folder.pack_sizes[0] <= kMostBlocksInMemory) {
    std::string packed;
    if (!ReadPacked(archive, folder, &packed)) return Damaged(error, "can't read the packed data");
    BlocksResult result = DecodeBzip2Blocks(packed, folder.UnpackSize(), sink, error);
    if (result != BlocksResult::kNotCut) return result == BlocksResult::kDone;
  }
  PackedInput input(archive, folder);
  if (method == kCopy) return Copied(input, folder, sink, error);
  if (method == kBzip2) return ThroughLibbz2(input, folder, sink, error);
  if (method == kPpmd)
    return DecodePpmd7(
        folder.coders.back().props, folder.UnpackSize(),
        [&input](const char** data, std::size_t* size) { return input.Next(data, size); }, sink,
        error);
  return ThroughLiblzma(input, folder, sink, error);
}

bool UnpackFolderToString(const std::string& archive, const SevenZFolderInfo& folder,
                          std::string* out, std::string* error) {
  if (folder.UnpackSize() > kMostDirectoryBytes) return Damaged(error, "directory too large");
  out->clear();
  return UnpackFolder(
      archive, folder,
      [&](const char* data, std::size_t size) {
        out->append(data, size);
        return true;
      },
      error);
}

}  // namespace oxlip::archive

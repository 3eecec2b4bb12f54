#include "archive/bzip2_blocks.h"

#include <bzlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/bzip2_block.h"

namespace oxlip::archive {
namespace {

constexpr std::uint64_t kBlockMagic = 0x314159265359;
constexpr std::uint64_t kEndMagic = 0x177245385090;
constexpr std::size_t kHeaderBits = 32;  // "BZh" and the level
constexpr unsigned kMostThreads = 4;

// `n` (up to 57) bits from bit `at` (most significant bit first), or all ones past the end.
std::uint64_t BitsAt(std::string_view data, std::uint64_t at, int n) {
  std::uint64_t value = 0;
  std::size_t byte = at / 8;
  int skip = static_cast<int>(at % 8);
  int have = 0;
  while (have < n + skip) {
    value = (value << 8) | (byte < data.size() ? static_cast<std::uint8_t>(data[byte]) : 0xFF);
    ++byte;
    have += 8;
  }
  return (value >> (have - n - skip)) & ((std::uint64_t{1} << n) - 1);
}

// Every bit position where the block magic and the end magic stand. At each of the 8 bit
// offsets a magic covers five bytes whole; a table of their first two bytes picks the few
// places worth comparing bit by bit, in one pass over the data.
void FindMagics(std::string_view data, std::vector<std::uint64_t>* starts,
                std::vector<std::uint64_t>* ends) {
  std::vector<std::uint8_t> pairs(1 << 16);
  for (std::uint64_t magic : {kBlockMagic, kEndMagic})
    for (int shift = 0; shift < 8; ++shift) {
      std::uint64_t window = magic << (16 - shift);
      pairs[(window >> 40) & 0xFFFF] = 1;
    }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  for (std::size_t at = 1; at + 5 <= data.size(); ++at) {
    if (!pairs[(bytes[at] << 8) | bytes[at + 1]]) continue;
    for (int shift = 0; shift < 8; ++shift) {
      std::uint64_t bit = (at - 1) * 8 + shift;
      std::uint64_t bits = BitsAt(data, bit, 48);
      if (bits == kBlockMagic) starts->push_back(bit);
      if (bits == kEndMagic) ends->push_back(bit);
    }
  }
}

// The bits [begin, end) of `data` as a stream of one block: header, the block, the end marker
// with the stream CRC (a one-block stream's is its block's), padding.
std::string OneBlockStream(std::string_view data, std::uint64_t begin, std::uint64_t end) {
  std::string out(data.substr(0, 4));
  std::uint64_t bits = end - begin;
  std::size_t whole = bits / 8;
  out.reserve(4 + whole + 12);
  std::size_t from = begin / 8;
  int shift = static_cast<int>(begin % 8);
  if (shift == 0) {
    out.append(data.substr(from, whole));
  } else {
    for (std::size_t k = 0; k < whole; ++k) {
      auto a = static_cast<std::uint8_t>(data[from + k]);
      auto b = static_cast<std::uint8_t>(from + k + 1 < data.size() ? data[from + k + 1] : 0);
      out += static_cast<char>((a << shift) | (b >> (8 - shift)));
    }
  }
  // The rest: the block's last bits, the end marker, the CRC, then zeros to a whole byte.
  std::uint64_t crc = BitsAt(data, begin + 48, 32);
  int rest = static_cast<int>(bits % 8);
  std::uint64_t tail = rest ? BitsAt(data, begin + 8 * whole, rest) : 0;
  std::uint64_t acc = tail;
  int count = rest;
  auto put = [&](std::uint64_t value, int n) {
    for (int i = n - 1; i >= 0; --i) {
      acc = (acc << 1) | ((value >> i) & 1);
      if (++count == 8) {
        out += static_cast<char>(acc);
        acc = 0;
        count = 0;
      }
    }
  };
  put(kEndMagic, 48);
  put(crc, 32);
  if (count > 0) out += static_cast<char>(acc << (8 - count));
  return out;
}

// One stream's output, at most `most` bytes; false when it is damaged.
bool DecodeStream(const std::string& stream, std::uint64_t most, std::string* out) {
  bz_stream bz{};
  if (BZ2_bzDecompressInit(&bz, 0, 0) != BZ_OK) return false;
  bz.next_in = const_cast<char*>(stream.data());
  bz.avail_in = static_cast<unsigned>(stream.size());
  out->clear();
  int result = BZ_OK;
  while (result == BZ_OK) {
    std::size_t have = out->size();
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(most - have, 1 << 20));
    if (room == 0) break;
    out->resize(have + room);
    bz.next_out = out->data() + have;
    bz.avail_out = static_cast<unsigned>(room);
    result = BZ2_bzDecompress(&bz);
    out->resize(have + room - bz.avail_out);
    if (result == BZ_OK && bz.avail_in == 0 && bz.avail_out != 0) result = BZ_DATA_ERROR;
  }
  BZ2_bzDecompressEnd(&bz);
  return result == BZ_STREAM_END;
}

struct Piece {
  bool done = false, ok = false;
  std::string output;
};

// Blocks decoded on every core, a few ahead of the one passed on: each helper takes the next
// block as soon as it is free, so a slow block holds up nobody but its reader.
class Blocks {
 public:
  Blocks(std::string_view packed, const std::vector<std::uint64_t>& bounds, std::uint64_t most,
         unsigned threads)
      : packed_(packed),
        bounds_(bounds),
        level_(static_cast<unsigned>(packed[3] - '0')),
        most_(most),
        ahead_(2 * threads),
        pieces_(bounds.size() - 1) {
    for (unsigned t = 0; t < threads; ++t) helpers_.emplace_back([this] { Work(); });
  }
  ~Blocks() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
  }

  std::size_t count() const { return pieces_.size(); }
  // Block `first`'s output, waited for. A block start found inside a block's data cuts it in
  // two: such a block is taken together with what follows until it decodes, and `last` says
  // which block it ended with; false when none does.
  bool Take(std::size_t first, std::size_t* last, std::string* output) {
    Piece piece;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return pieces_[first].done; });
      piece = std::move(pieces_[first]);
    }
    *last = first;
    while (!piece.ok && *last + 1 < count()) {
      ++*last;
      piece.ok = Decode(first, *last + 1, &scratch_, &piece.output);
    }
    *output = std::move(piece.output);
    return piece.ok;
  }
  // Blocks before `next` are passed on: helpers may go on ahead of it.
  void Passed(std::size_t next) {
    {
      std::lock_guard lock(mutex_);
      passed_ = next;
    }
    changed_.notify_all();
  }

 private:
  bool Decode(std::size_t from, std::size_t to, Bzip2Scratch* scratch, std::string* output) const {
    Bzip2Block result =
        DecodeBzip2Block(packed_, bounds_[from], bounds_[to], level_, most_, scratch, output);
    if (result != Bzip2Block::kRandomised) return result == Bzip2Block::kDone;
    return DecodeStream(OneBlockStream(packed_, bounds_[from], bounds_[to]), most_, output);
  }
  void Work() {
    Bzip2Scratch scratch;
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock,
                    [&] { return stopped_ || claimed_ == count() || claimed_ < passed_ + ahead_; });
      if (stopped_ || claimed_ == count()) return;
      std::size_t i = claimed_++;
      lock.unlock();
      std::string output;
      bool ok = Decode(i, i + 1, &scratch, &output);
      lock.lock();
      pieces_[i] = {true, ok, std::move(output)};
      changed_.notify_all();
    }
  }

  const std::string_view packed_;
  const std::vector<std::uint64_t>& bounds_;
  const unsigned level_;
  const std::uint64_t most_;
  const std::size_t ahead_;
  Bzip2Scratch scratch_;  // for blocks taken together
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Piece> pieces_;
  std::size_t claimed_ = 0, passed_ = 0;
  bool stopped_ = false;
  std::vector<std::thread> helpers_;
};

}  // namespace

BlocksResult DecodeBzip2Blocks(std::string_view packed, std::uint64_t size, const Sink& sink,
                               std::string* error) {
  if (packed.size() < 4 || packed.substr(0, 3) != "BZh" || packed[3] < '1' || packed[3] > '9')
    return BlocksResult::kNotCut;
  std::vector<std::uint64_t> starts, ends;
  FindMagics(packed, &starts, &ends);
  // One stream that ends at the end of the data: its end marker, CRC and padding come last.
  std::uint64_t total_bits = packed.size() * 8;
  if (starts.size() < 2 || starts[0] != kHeaderBits || ends.size() != 1 ||
      ends[0] < starts.back() || total_bits - ends[0] > 48 + 32 + 7)
    return BlocksResult::kNotCut;
  starts.push_back(ends[0]);
  Blocks blocks(packed, starts, size,
                std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads));
  std::uint64_t left = size;
  std::string output;
  std::uint32_t crc = 0;  // of the stream: each block's in turn
  std::size_t next = 0;
  for (std::size_t last = 0; next < blocks.count() && left > 0; next = last + 1) {
    if (!blocks.Take(next, &last, &output)) {
      *error = "damaged archive: invalid BZip2 data";
      return BlocksResult::kFailed;
    }
    crc = ((crc << 1) | (crc >> 31)) ^
          static_cast<std::uint32_t>(BitsAt(packed, starts[next] + 48, 32));
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(output.size(), left));
    if (n > 0 && !sink(output.data(), n)) return BlocksResult::kFailed;
    left -= n;
    blocks.Passed(last + 1);
  }
  if (left > 0) {
    *error = "damaged archive: data ends early";
    return BlocksResult::kFailed;
  }
  if (next == blocks.count() && crc != BitsAt(packed, starts.back() + 48, 32)) {
    *error = "damaged archive: BZip2 stream CRC mismatch";
    return BlocksResult::kFailed;
  }
  return BlocksResult::kDone;
}

}  // namespace oxlip::archive

#include "archive/bzip2_blocks.h"

#include <bzlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

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

// Every bit position where the 48-bit `magic` stands. For each of the 8 bit offsets, the five
// bytes the magic covers whole are looked for first.
std::vector<std::uint64_t> FindMagic(std::string_view data, std::uint64_t magic) {
  std::vector<std::uint64_t> found;
  for (int shift = 0; shift < 8; ++shift) {
    std::uint64_t window = magic << (16 - shift);
    char pattern[5];
    for (int j = 0; j < 5; ++j) pattern[j] = static_cast<char>(window >> (48 - 8 * j));
    for (std::size_t from = 0;;) {
      const void* hit = memmem(data.data() + from, data.size() - from, pattern, 5);
      if (!hit) break;
      std::size_t at = static_cast<const char*>(hit) - data.data();
      from = at + 1;
      if (at == 0) continue;
      std::uint64_t bit = (at - 1) * 8 + shift;
      if (BitsAt(data, bit, 48) == magic) found.push_back(bit);
    }
  }
  std::sort(found.begin(), found.end());
  return found;
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
  std::uint64_t begin = 0, end = 0;
  bool ok = false;
  std::string output;
};

}  // namespace

BlocksResult DecodeBzip2Blocks(std::string_view packed, std::uint64_t size, const Sink& sink,
                               std::string* error) {
  if (packed.size() < 4 || packed.substr(0, 3) != "BZh" || packed[3] < '1' || packed[3] > '9')
    return BlocksResult::kNotCut;
  std::vector<std::uint64_t> starts = FindMagic(packed, kBlockMagic);
  std::vector<std::uint64_t> ends = FindMagic(packed, kEndMagic);
  // One stream that ends at the end of the data: its end marker, CRC and padding come last.
  std::uint64_t total_bits = packed.size() * 8;
  if (starts.size() < 2 || starts[0] != kHeaderBits || ends.size() != 1 ||
      ends[0] < starts.back() || total_bits - ends[0] > 48 + 32 + 7)
    return BlocksResult::kNotCut;
  starts.push_back(ends[0]);
  unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
  std::uint64_t left = size;
  std::size_t next = 0;  // the first block not yet passed on
  std::size_t blocks = starts.size() - 1;
  while (next < blocks && left > 0) {
    // A round: a few blocks decoded at once, then passed on in order.
    std::vector<Piece> round(std::min<std::size_t>(blocks - next, 2 * threads));
    for (std::size_t i = 0; i < round.size(); ++i)
      round[i].begin = starts[next + i], round[i].end = starts[next + i + 1];
    std::atomic<std::size_t> taken = 0;
    auto work = [&] {
      for (std::size_t i; (i = taken++) < round.size();)
        round[i].ok = DecodeStream(OneBlockStream(packed, round[i].begin, round[i].end), left,
                                   &round[i].output);
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers) helper.join();
    for (Piece& piece : round) {
      std::size_t last = next;  // the piece holds the blocks from `next` to `last`
      // A block start found inside a block's data cuts it in two: such a block is taken
      // together with what follows until it decodes, or the stream ends.
      while (!piece.ok && last + 1 < blocks) {
        ++last;
        piece.ok = DecodeStream(OneBlockStream(packed, starts[next], starts[last + 1]), left,
                                &piece.output);
      }
      if (!piece.ok) {
        *error = "damaged archive: invalid BZip2 data";
        return BlocksResult::kFailed;
      }
      std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(piece.output.size(), left));
      if (n > 0 && !sink(piece.output.data(), n)) return BlocksResult::kFailed;
      left -= n;
      bool merged = last != next;
      next = last + 1;
      if (merged || left == 0) break;  // the rest of this round began inside the merged block
    }
  }
  if (left > 0) {
    *error = "damaged archive: data ends early";
    return BlocksResult::kFailed;
  }
  return BlocksResult::kDone;
}

}  // namespace oxlip::archive

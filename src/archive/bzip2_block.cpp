#include "archive/bzip2_block.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace oxlip::archive {
namespace {

constexpr unsigned kMostGroups = 6, kMostSelectors = 18002, kMostCodeLength = 20;
constexpr unsigned kGroupSize = 50;
constexpr unsigned kFastBits = 10;  // codes this long or shorter are read by one table lookup

// The bits of one block, most significant first; zeros past the data, counted as read.
class BitReader {
 public:
  BitReader(std::string_view data, std::uint64_t begin)
      : data_(reinterpret_cast<const std::uint8_t*>(data.data())),
        size_(data.size()),
        next_(begin / 8) {
    Refill();
    count_ -= static_cast<int>(begin % 8);
  }
  std::uint32_t Bits(int n) {
    std::uint32_t value = Peek(n);
    count_ -= n;
    return value;
  }
  std::uint32_t Peek(int n) {
    if (count_ < n) Refill();
    return static_cast<std::uint32_t>(buffer_ >> (count_ - n)) & ((1u << n) - 1);
  }
  void Skip(int n) { count_ -= n; }
  std::uint64_t position() const { return next_ * 8 - static_cast<std::uint64_t>(count_); }

 private:
  void Refill() {
    while (count_ <= 56) {
      buffer_ = (buffer_ << 8) | (next_ < size_ ? data_[next_] : 0);
      ++next_;
      count_ += 8;
    }
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::uint64_t next_;  // the next byte to load
  std::uint64_t buffer_ = 0;
  int count_ = 0;  // bits of `buffer_` not yet read
};

// A canonical Huffman code: short codes through a table, longer ones length by length.
class HuffmanCode {
 public:
  // False when the lengths do not make a prefix code.
  bool Build(const std::uint8_t* lengths, unsigned symbols) {
    std::array<unsigned, kMostCodeLength + 2> count{};
    for (unsigned i = 0; i < symbols; ++i) ++count[lengths[i]];
    std::array<unsigned, kMostCodeLength + 2> offset{};
    for (unsigned len = 1; len <= kMostCodeLength; ++len)
      offset[len + 1] = offset[len] + count[len];
    for (unsigned i = 0; i < symbols; ++i)
      sorted_[offset[lengths[i]]++] = static_cast<std::uint16_t>(i);
    fast_.fill(0);
    std::uint32_t code = 0;
    unsigned k = 0;
    for (unsigned len = 1; len <= kMostCodeLength; ++len, code <<= 1) {
      first_[len] = code;
      start_[len] = k;
      count_[len] = count[len];
      if (code + count[len] > (1u << len)) return false;
      for (unsigned n = 0; n < count[len]; ++n, ++code, ++k) {
        if (len > kFastBits) continue;
        std::uint16_t entry = static_cast<std::uint16_t>(sorted_[k] << 5 | len);
        unsigned shift = kFastBits - len;
        std::fill(fast_.begin() + (code << shift), fast_.begin() + ((code + 1) << shift), entry);
      }
    }
    return true;
  }
  // The next symbol, or -1 for bits that are no code.
  int Decode(BitReader& bits) const {
    std::uint16_t entry = fast_[bits.Peek(kFastBits)];
    if (entry != 0) {
      bits.Skip(entry & 31);
      return entry >> 5;
    }
    std::uint32_t value = bits.Peek(kMostCodeLength);
    for (unsigned len = kFastBits + 1; len <= kMostCodeLength; ++len) {
      std::uint32_t code = value >> (kMostCodeLength - len);
      if (code >= first_[len] && code - first_[len] < count_[len]) {
        bits.Skip(static_cast<int>(len));
        return sorted_[start_[len] + code - first_[len]];
      }
    }
    return -1;
  }

 private:
  std::array<std::uint16_t, 1 << kFastBits> fast_{};  // symbol << 5 | length; 0: not here
  std::array<std::uint32_t, kMostCodeLength + 1> first_{}, start_{}, count_{};
  std::array<std::uint16_t, 258> sorted_{};
};

struct Tables {
  unsigned symbols = 0;                   // the alphabet: runs, move-to-front indexes, end of block
  std::array<std::uint8_t, 256> bytes{};  // the bytes in use, in order
  unsigned in_use = 0;
  std::array<HuffmanCode, kMostGroups> codes;
  std::array<std::uint8_t, kMostSelectors> selectors{};
  unsigned selector_count = 0;
};

bool ReadTables(BitReader& bits, Tables* t) {
  unsigned groups_used = bits.Bits(16);
  for (unsigned g = 0; g < 16; ++g) {
    if (!(groups_used & (0x8000 >> g))) continue;
    unsigned used = bits.Bits(16);
    for (unsigned b = 0; b < 16; ++b)
      if (used & (0x8000 >> b)) t->bytes[t->in_use++] = static_cast<std::uint8_t>(g * 16 + b);
  }
  if (t->in_use == 0) return false;
  t->symbols = t->in_use + 2;
  unsigned groups = bits.Bits(3);
  t->selector_count = bits.Bits(15);
  if (groups < 2 || groups > kMostGroups || t->selector_count == 0) return false;
  std::array<std::uint8_t, kMostGroups> order = {0, 1, 2, 3, 4, 5};
  for (unsigned i = 0; i < t->selector_count; ++i) {
    unsigned k = 0;
    while (bits.Bits(1))
      if (++k >= groups) return false;
    std::uint8_t group = order[k];
    std::memmove(&order[1], &order[0], k);
    order[0] = group;
    // Selectors past the most any block needs are read and dropped, as bzip2 does.
    if (i < kMostSelectors) t->selectors[i] = group;
  }
  t->selector_count = std::min<unsigned>(t->selector_count, kMostSelectors);
  std::array<std::uint8_t, 258> lengths{};
  for (unsigned g = 0; g < groups; ++g) {
    unsigned len = bits.Bits(5);
    for (unsigned i = 0; i < t->symbols; ++i) {
      for (;;) {
        if (len < 1 || len > kMostCodeLength) return false;
        if (!bits.Bits(1)) break;
        len = bits.Bits(1) ? len - 1 : len + 1;
      }
      lengths[i] = static_cast<std::uint8_t>(len);
    }
    if (!t->codes[g].Build(lengths.data(), t->symbols)) return false;
  }
  return true;
}

// The block-sorted bytes into the low byte of `links`, counted per value; their number, or -1.
long ReadSymbols(BitReader& bits, const Tables& t, std::uint32_t most, std::uint32_t* links,
                 std::array<std::uint32_t, 256>* counts) {
  std::array<std::uint8_t, 256> order;
  for (unsigned i = 0; i < 256; ++i) order[i] = static_cast<std::uint8_t>(i);
  const unsigned end_of_block = t.in_use + 1;
  std::uint32_t n = 0, run = 0, weight = 1;
  unsigned selector = 0, left = 0;
  const HuffmanCode* code = nullptr;
  for (;;) {
    if (left == 0) {
      if (selector == t.selector_count) return -1;
      code = &t.codes[t.selectors[selector++]];
      left = kGroupSize;
    }
    --left;
    int symbol = code->Decode(bits);
    if (symbol < 0) return -1;
    if (symbol <= 1) {  // a digit of a run's length, in bijective base 2
      if (weight > (1u << 21)) return -1;
      run += weight << symbol;
      weight <<= 1;
      continue;
    }
    if (run > 0) {
      std::uint8_t byte = t.bytes[order[0]];
      if (run > most - n) return -1;
      (*counts)[byte] += run;
      for (std::uint32_t end = n + run; n < end; ++n) links[n] = byte;
      run = 0;
      weight = 1;
    }
    if (static_cast<unsigned>(symbol) == end_of_block) return n;
    unsigned k = static_cast<unsigned>(symbol) - 1;
    std::uint8_t index = order[k];
    std::memmove(&order[1], &order[0], k);
    order[0] = index;
    if (n == most) return -1;
    std::uint8_t byte = t.bytes[index];
    ++(*counts)[byte];
    links[n++] = byte;
  }
}

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i << 24;
    for (int k = 0; k < 8; ++k) c = (c & 0x80000000) ? (c << 1) ^ 0x04C11DB7 : c << 1;
    table[i] = c;
  }
  return table;
}();

// The sort undone and the runs of four and more expanded into `out`; false past `most` bytes.
bool Unsort(std::uint32_t* links, std::uint32_t n, std::uint32_t origin,
            const std::array<std::uint32_t, 256>& counts, std::uint64_t most, std::string* out,
            std::uint32_t* crc) {
  std::array<std::uint32_t, 256> next;
  for (std::uint32_t i = 0, sum = 0; i < 256; ++i) next[i] = sum, sum += counts[i];
  for (std::uint32_t i = 0; i < n; ++i) links[next[links[i] & 0xFF]++] |= i << 8;
  out->resize(std::min<std::uint64_t>(most, n + n / 4 + 256));
  char* to = out->data();
  std::size_t made = 0, room = out->size();
  std::uint32_t c = 0xFFFFFFFF, at = links[origin] >> 8;
  int last = -1, same = 0;
  for (std::uint32_t k = 0; k < n; ++k) {
    at = links[at];
    auto byte = static_cast<std::uint8_t>(at);
    at >>= 8;
    unsigned times = 1;
    if (same == 4) {  // the fifth byte counts further copies of the four before
      times = byte;
      byte = static_cast<std::uint8_t>(last);
      same = 0;
      last = -1;
    } else if (byte == last) {
      ++same;
    } else {
      last = byte;
      same = 1;
    }
    if (room - made < times) {
      if (most - made < times) return false;
      out->resize(static_cast<std::size_t>(std::min<std::uint64_t>(most, 2 * room + 256)));
      to = out->data();
      room = out->size();
    }
    for (unsigned i = 0; i < times; ++i) {
      to[made++] = static_cast<char>(byte);
      c = (c << 8) ^ kCrcTable[(c >> 24) ^ byte];
    }
  }
  out->resize(made);
  *crc = ~c;
  return true;
}

}  // namespace

Bzip2Block DecodeBzip2Block(std::string_view data, std::uint64_t begin, std::uint64_t end,
                            unsigned level, std::uint64_t most, Bzip2Scratch* scratch,
                            std::string* out) {
  BitReader bits(data, begin);
  bits.Bits(24);
  bits.Bits(24);  // the block mark
  std::uint32_t stored_crc = bits.Bits(16) << 16;
  stored_crc |= bits.Bits(16);
  if (bits.Bits(1)) return Bzip2Block::kRandomised;
  std::uint32_t origin = bits.Bits(24);
  auto tables = std::make_unique<Tables>();
  if (!ReadTables(bits, tables.get())) return Bzip2Block::kDamaged;
  std::uint32_t most_sorted = level * 100000;
  if (scratch->capacity < most_sorted) {
    scratch->links = std::make_unique_for_overwrite<std::uint32_t[]>(most_sorted);
    scratch->capacity = most_sorted;
  }
  std::array<std::uint32_t, 256> counts{};
  long n = ReadSymbols(bits, *tables, most_sorted, scratch->links.get(), &counts);
  if (n <= 0 || origin >= static_cast<std::uint32_t>(n) || bits.position() != end)
    return Bzip2Block::kDamaged;
  std::uint32_t crc = 0;
  if (!Unsort(scratch->links.get(), static_cast<std::uint32_t>(n), origin, counts, most, out,
              &crc) ||
      crc != stored_crc)
    return Bzip2Block::kDamaged;
  return Bzip2Block::kDone;
}

}  // namespace oxlip::archive

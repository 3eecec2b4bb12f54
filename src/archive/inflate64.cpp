#include "archive/inflate64.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace oxlip::archive {
namespace {

constexpr int kMaxBits = 15;
constexpr std::size_t kWindow = 65536;
// Output is gathered in pieces of this size behind the window before it goes to the sink.
constexpr std::size_t kPiece = 1 << 18;
constexpr std::size_t kLongestMatch = 3 + 65535;  // length code 285 with its 16 extra bits
constexpr int kMaxLiterals = 288;
constexpr int kMaxDistances = 32;
// Codes up to this long are decoded with one table look-up; longer ones bit by bit.
constexpr int kFastBits = 10;

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr std::array<std::uint32_t, kMaxDistances> kDistanceBase = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<std::uint8_t, kMaxDistances> kDistanceExtra = {
    0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr std::array<std::uint8_t, 19> kLengthCodeOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

// A canonical Huffman code: how many codes of each length, the symbols in code order, and for
// the short codes a table indexed by the next kFastBits bits of the stream (symbol << 4 |
// length; 0 where a longer code begins).
struct Code {
  std::array<std::uint16_t, kMaxBits + 1> count{};
  std::array<std::uint16_t, kMaxLiterals> symbol{};
  std::array<std::uint16_t, 1 << kFastBits> fast{};
};

std::uint32_t Reversed(std::uint32_t code, int length) {
  std::uint32_t out = 0;
  for (int i = 0; i < length; ++i, code >>= 1) out = (out << 1) | (code & 1);
  return out;
}

// False when the lengths over-subscribe the code. An incomplete code is taken; a bit pattern
// that no symbol has fails when it is met.
bool BuildCode(const std::uint8_t* lengths, int n, Code* code) {
  code->count.fill(0);
  for (int i = 0; i < n; ++i) ++code->count[lengths[i]];
  code->count[0] = 0;
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left = (left << 1) - code->count[len];
    if (left < 0) return false;
  }
  std::array<std::uint16_t, kMaxBits + 1> next{};
  for (int len = 1; len < kMaxBits; ++len) next[len + 1] = next[len] + code->count[len];
  for (int i = 0; i < n; ++i)
    if (lengths[i] != 0) code->symbol[next[lengths[i]]++] = static_cast<std::uint16_t>(i);
  // The codes themselves, in the order RFC 1951 gives them, for the table.
  code->fast.fill(0);
  std::uint32_t value = 0;
  std::size_t index = 0;
  for (int len = 1; len <= kFastBits; ++len, value <<= 1)
    for (int k = 0; k < code->count[len]; ++k, ++value, ++index) {
      std::uint16_t entry = static_cast<std::uint16_t>(code->symbol[index] << 4 | len);
      for (std::uint32_t fill = Reversed(value, len); fill < (1u << kFastBits); fill += 1u << len)
        code->fast[fill] = entry;
    }
  return true;
}

class Decoder {
 public:
  Decoder(const ByteSource& source, const Sink& sink)
      : source_(source), sink_(sink), input_(1 << 16), output_(kWindow + kPiece + kLongestMatch) {}

  bool Run(std::string* error) {
    bool last = false;
    while (!last && ok()) {
      last = Bits(1) != 0;
      switch (Bits(2)) {
        case 0:
          Stored();
          break;
        case 1:
          Fixed();
          break;
        case 2:
          Dynamic();
          break;
        default:
          Fail("invalid block type");
      }
    }
    Flush();
    if (!why_.empty()) *error = "damaged Deflate64 data: " + why_;
    return ok();
  }

 private:
  bool ok() const { return why_.empty() && !sink_refused_; }
  void Fail(const char* why) {
    if (why_.empty()) why_ = why;
  }

  // More input; false at its end or on failure (the failure is recorded).
  bool FillInput() {
    if (!ok() || ended_) return false;
    std::int64_t got = source_(input_.data(), input_.size());
    if (got <= 0) {
      ended_ = true;
      if (got < 0) Fail("can't read the data");
      return false;
    }
    in_pos_ = 0;
    in_size_ = static_cast<std::size_t>(got);
    return true;
  }

  // At least 57 bits in the buffer unless the input ends first. Above the counted bits the
  // buffer holds either zeros or the very bits that follow, so adding them again is harmless.
  void Refill() {
    if (in_size_ - in_pos_ >= 8) {
      std::uint64_t word;
      std::memcpy(&word, input_.data() + in_pos_, 8);  // little-endian machines only
      bit_buffer_ |= word << bit_count_;
      int bytes = (63 - bit_count_) >> 3;
      in_pos_ += static_cast<std::size_t>(bytes);
      bit_count_ += bytes << 3;
      return;
    }
    while (bit_count_ <= 56) {
      if (in_pos_ == in_size_ && !FillInput()) return;
      bit_buffer_ |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(input_[in_pos_++]))
                     << bit_count_;
      bit_count_ += 8;
    }
  }

  bool Consume(int n) {
    if (n > bit_count_) {
      Fail("data ends early");
      return false;
    }
    bit_buffer_ >>= n;
    bit_count_ -= n;
    return true;
  }

  // The next `n` bits (up to 16), least significant first; 0 once the data failed.
  std::uint32_t Bits(int n) {
    if (bit_count_ < n) Refill();
    std::uint32_t value = static_cast<std::uint32_t>(bit_buffer_) & ((1u << n) - 1);
    return Consume(n) ? value : 0;
  }

  // One symbol; -1 for a pattern without a symbol or when the data failed.
  int Decode(const Code& code) {
    if (bit_count_ < kMaxBits) Refill();
    std::uint16_t entry = code.fast[bit_buffer_ & ((1u << kFastBits) - 1)];
    if (entry != 0) return Consume(entry & 15) ? entry >> 4 : -1;
    int bits = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
      bits |= static_cast<int>((bit_buffer_ >> (len - 1)) & 1);
      int count = code.count[len];
      if (bits - count < first) return Consume(len) ? code.symbol[index + (bits - first)] : -1;
      index += count;
      first = (first + count) << 1;
      bits <<= 1;
    }
    Fail("invalid code");
    return -1;
  }

  void Flush() {
    if (have_ > flushed_ && !sink_refused_)
      sink_refused_ =
          !sink_(reinterpret_cast<const char*>(output_.data() + flushed_), have_ - flushed_);
    flushed_ = have_;
  }

  // Room for the longest match; the last 64 KiB stay for back references.
  void MakeRoom() {
    if (have_ + kLongestMatch <= output_.size()) return;
    Flush();
    std::memmove(output_.data(), output_.data() + have_ - kWindow, kWindow);
    have_ = flushed_ = kWindow;
  }

  void Stored() {
    Consume(bit_count_ & 7);  // the rest of the current byte
    std::uint32_t length = Bits(16);
    if (ok() && (length ^ Bits(16)) != 0xFFFF) return Fail("stored block length mismatch");
    while (length > 0 && bit_count_ >= 8 && ok()) {  // whole bytes already taken in
      MakeRoom();
      output_[have_++] = static_cast<std::uint8_t>(bit_buffer_);
      ++total_;
      Consume(8);
      --length;
    }
    if (bit_count_ == 0) bit_buffer_ = 0;  // what lies above is read from the input below
    while (length > 0 && ok()) {
      if (in_pos_ == in_size_ && !FillInput()) return Fail("data ends early");
      MakeRoom();
      std::size_t n = std::min<std::size_t>({length, in_size_ - in_pos_, output_.size() - have_});
      std::memcpy(output_.data() + have_, input_.data() + in_pos_, n);
      have_ += n;
      in_pos_ += n;
      total_ += n;
      length -= static_cast<std::uint32_t>(n);
    }
  }

  void Fixed() {
    std::uint8_t lengths[kMaxLiterals + kMaxDistances];
    std::memset(lengths, 8, 144);
    std::memset(lengths + 144, 9, 112);
    std::memset(lengths + 256, 7, 24);
    std::memset(lengths + 280, 8, 8);
    std::memset(lengths + kMaxLiterals, 5, kMaxDistances);
    BuildCode(lengths, kMaxLiterals, &literals_);
    BuildCode(lengths + kMaxLiterals, kMaxDistances, &distances_);
    Codes();
  }

  void Dynamic() {
    int literal_count = static_cast<int>(Bits(5)) + 257;
    int distance_count = static_cast<int>(Bits(5)) + 1;
    int length_count = static_cast<int>(Bits(4)) + 4;
    std::uint8_t lengths[kMaxLiterals + kMaxDistances] = {};
    for (int i = 0; i < length_count; ++i) lengths[kLengthCodeOrder[i]] = Bits(3);
    if (!ok()) return;
    if (!BuildCode(lengths, 19, &literals_)) return Fail("invalid code lengths");
    int total = literal_count + distance_count;
    std::memset(lengths, 0, sizeof lengths);
    for (int i = 0; i < total && ok();) {
      int symbol = Decode(literals_);
      if (symbol < 0) return;
      if (symbol < 16) {
        lengths[i++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t repeated = 0;
      int times = 0;
      if (symbol == 16) {
        if (i == 0) return Fail("repeat without a length");
        repeated = lengths[i - 1];
        times = 3 + static_cast<int>(Bits(2));
      } else {
        times = symbol == 17 ? 3 + static_cast<int>(Bits(3)) : 11 + static_cast<int>(Bits(7));
      }
      if (i + times > total) return Fail("too many lengths");
      while (times-- > 0) lengths[i++] = repeated;
    }
    if (!ok()) return;
    if (lengths[256] == 0) return Fail("no end-of-block code");
    if (!BuildCode(lengths, literal_count, &literals_) ||
        !BuildCode(lengths + literal_count, distance_count, &distances_))
      return Fail("invalid code lengths");
    Codes();
  }

  void Copy(std::uint32_t distance, std::uint32_t length) {
    std::uint8_t* to = output_.data() + have_;
    const std::uint8_t* from = to - distance;
    if (distance >= length) {
      std::memcpy(to, from, length);
    } else {
      for (std::uint32_t i = 0; i < length; ++i) to[i] = from[i];  // the copy overlaps itself
    }
    have_ += length;
    total_ += length;
  }

  void Codes() {
    while (ok()) {
      MakeRoom();
      int symbol = Decode(literals_);
      if (symbol < 0) return;
      if (symbol < 256) {
        output_[have_++] = static_cast<std::uint8_t>(symbol);
        ++total_;
        continue;
      }
      if (symbol == 256) return;
      symbol -= 257;
      if (symbol >= static_cast<int>(kLengthBase.size())) return Fail("invalid length code");
      std::uint32_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
      int code = Decode(distances_);
      if (code < 0) return;
      std::uint32_t distance = kDistanceBase[code] + Bits(kDistanceExtra[code]);
      if (!ok()) return;
      if (distance > total_) return Fail("distance too far back");
      Copy(distance, length);
    }
  }

  const ByteSource& source_;
  const Sink& sink_;
  std::vector<char> input_;
  std::size_t in_pos_ = 0, in_size_ = 0;
  bool ended_ = false;
  std::uint64_t bit_buffer_ = 0;
  int bit_count_ = 0;
  Code literals_, distances_;
  // The last 64 KiB written stay behind whatever is not yet passed on, for back references.
  std::vector<std::uint8_t> output_;
  std::size_t have_ = 0, flushed_ = 0;
  std::uint64_t total_ = 0;
  std::string why_;
  bool sink_refused_ = false;
};

}  // namespace

bool Inflate64(const ByteSource& source, const Sink& sink, std::string* error) {
  return Decoder(source, sink).Run(error);
}

}  // namespace oxlip::archive

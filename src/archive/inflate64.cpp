#include "archive/inflate64.h"

#include <array>
#include <cstring>
#include <vector>

namespace oxlip::archive {
namespace {

constexpr int kMaxBits = 15;
constexpr std::size_t kWindow = 65536;
constexpr int kMaxLiterals = 288;
constexpr int kMaxDistances = 32;

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

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Code {
  std::array<std::uint16_t, kMaxBits + 1> count{};
  std::array<std::uint16_t, kMaxLiterals> symbol{};
};

// False when the lengths over-subscribe the code. An incomplete code is taken; a bit pattern
// that no symbol has fails when it is met.
bool BuildCode(const std::uint8_t* lengths, int n, Code* code) {
  code->count.fill(0);
  for (int i = 0; i < n; ++i) ++code->count[lengths[i]];
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left = (left << 1) - code->count[len];
    if (left < 0) return false;
  }
  std::array<std::uint16_t, kMaxBits + 1> next{};
  for (int len = 1; len < kMaxBits; ++len) next[len + 1] = next[len] + code->count[len];
  for (int i = 0; i < n; ++i)
    if (lengths[i] != 0) code->symbol[next[lengths[i]]++] = static_cast<std::uint16_t>(i);
  return true;
}

class Decoder {
 public:
  Decoder(const ByteSource& source, const Sink& sink)
      : source_(source), sink_(sink), input_(1 << 16), output_(2 * kWindow) {}

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

  bool NextByte(std::uint8_t* byte) {
    if (in_pos_ == in_size_) {
      std::int64_t got = ok() ? source_(input_.data(), input_.size()) : -1;
      if (got <= 0) {
        Fail(got == 0 ? "data ends early" : "can't read the data");
        return false;
      }
      in_pos_ = 0;
      in_size_ = static_cast<std::size_t>(got);
    }
    *byte = static_cast<std::uint8_t>(input_[in_pos_++]);
    return true;
  }

  // The next `n` bits (up to 16), least significant first; 0 once the data failed.
  std::uint32_t Bits(int n) {
    while (bit_count_ < n) {
      std::uint8_t byte;
      if (!NextByte(&byte)) return 0;
      bit_buffer_ |= static_cast<std::uint32_t>(byte) << bit_count_;
      bit_count_ += 8;
    }
    std::uint32_t value = bit_buffer_ & ((1u << n) - 1);
    bit_buffer_ >>= n;
    bit_count_ -= n;
    return value;
  }

  // One symbol; -1 for a pattern without a symbol or when the data failed.
  int Decode(const Code& code) {
    int bits = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
      bits |= static_cast<int>(Bits(1));
      if (!ok()) return -1;
      int count = code.count[len];
      if (bits - count < first) return code.symbol[index + (bits - first)];
      index += count;
      first = (first + count) << 1;
      bits <<= 1;
    }
    Fail("invalid code");
    return -1;
  }

  void Put(std::uint8_t byte) {
    if (have_ == output_.size()) {
      Flush();
      std::memmove(output_.data(), output_.data() + have_ - kWindow, kWindow);
      have_ = flushed_ = kWindow;
    }
    output_[have_++] = byte;
    ++total_;
  }

  void Flush() {
    if (have_ > flushed_ && !sink_refused_)
      sink_refused_ =
          !sink_(reinterpret_cast<const char*>(output_.data() + flushed_), have_ - flushed_);
    flushed_ = have_;
  }

  void Stored() {
    bit_buffer_ = 0;  // the rest of the current byte
    bit_count_ = 0;
    std::uint8_t b[4];
    for (std::uint8_t& byte : b)
      if (!NextByte(&byte)) return;
    unsigned length = b[0] | (b[1] << 8);
    if ((length ^ (b[2] | (b[3] << 8))) != 0xFFFF) return Fail("stored block length mismatch");
    std::uint8_t byte;
    while (length-- > 0 && ok() && NextByte(&byte)) Put(byte);
  }

  void Fixed() {
    std::uint8_t lengths[kMaxLiterals + kMaxDistances];
    std::memset(lengths, 8, 144);
    std::memset(lengths + 144, 9, 112);
    std::memset(lengths + 256, 7, 24);
    std::memset(lengths + 280, 8, 8);
    std::memset(lengths + kMaxLiterals, 5, kMaxDistances);
    Code literals, distances;
    BuildCode(lengths, kMaxLiterals, &literals);
    BuildCode(lengths + kMaxLiterals, kMaxDistances, &distances);
    Codes(literals, distances);
  }

  void Dynamic() {
    int literal_count = static_cast<int>(Bits(5)) + 257;
    int distance_count = static_cast<int>(Bits(5)) + 1;
    int length_count = static_cast<int>(Bits(4)) + 4;
    std::uint8_t lengths[kMaxLiterals + kMaxDistances] = {};
    for (int i = 0; i < length_count; ++i) lengths[kLengthCodeOrder[i]] = Bits(3);
    Code length_code;
    if (!ok()) return;
    if (!BuildCode(lengths, 19, &length_code)) return Fail("invalid code lengths");
    int total = literal_count + distance_count;
    std::memset(lengths, 0, sizeof lengths);
    for (int i = 0; i < total && ok();) {
      int symbol = Decode(length_code);
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
    Code literals, distances;
    if (!BuildCode(lengths, literal_count, &literals) ||
        !BuildCode(lengths + literal_count, distance_count, &distances))
      return Fail("invalid code lengths");
    Codes(literals, distances);
  }

  void Codes(const Code& literals, const Code& distances) {
    while (ok()) {
      int symbol = Decode(literals);
      if (symbol < 0) return;
      if (symbol < 256) {
        Put(static_cast<std::uint8_t>(symbol));
        continue;
      }
      if (symbol == 256) return;
      symbol -= 257;
      if (symbol >= static_cast<int>(kLengthBase.size())) return Fail("invalid length code");
      std::uint32_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
      int code = Decode(distances);
      if (code < 0) return;
      std::uint32_t distance = kDistanceBase[code] + Bits(kDistanceExtra[code]);
      if (!ok()) return;
      if (distance > total_) return Fail("distance too far back");
      while (length-- > 0) Put(output_[have_ - distance]);
    }
  }

  const ByteSource& source_;
  const Sink& sink_;
  std::vector<char> input_;
  std::size_t in_pos_ = 0, in_size_ = 0;
  std::uint32_t bit_buffer_ = 0;
  int bit_count_ = 0;
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

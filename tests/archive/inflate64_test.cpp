// Deflate64 streams written bit by bit, for what a compressor may never happen to emit: the
// 16-bit length code, the two far distance codes, a stored block, damage.
#include "archive/inflate64.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace oxlip::archive {
namespace {

class BitWriter {
 public:
  void Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  // Huffman codes go most significant bit first.
  void Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  void Align() {
    while (used_ != 0) Bit(0);
  }
  void Bytes(const std::string& data) { bytes_ += data; }
  const std::string& bytes() const { return bytes_; }

 private:
  void Bit(int bit) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() = static_cast<char>(bytes_.back() | (bit << used_));
    used_ = (used_ + 1) % 8;
  }
  std::string bytes_;
  int used_ = 0;
};

// The fixed code of a literal or length symbol.
void Fixed(BitWriter* out, int symbol) {
  if (symbol < 144)
    out->Code(0x30 + symbol, 8);
  else if (symbol < 256)
    out->Code(0x190 + symbol - 144, 9);
  else if (symbol < 280)
    out->Code(symbol - 256, 7);
  else
    out->Code(0xC0 + symbol - 280, 8);
}

void Stored(BitWriter* out, const std::string& data, bool last) {
  out->Bits(last, 1);
  out->Bits(0, 2);
  out->Align();
  std::uint16_t length = static_cast<std::uint16_t>(data.size());
  out->Bits(length, 16);
  out->Bits(static_cast<std::uint16_t>(~length), 16);
  out->Bytes(data);
}

bool Decode(const std::string& stream, const Sink& sink, std::string* error) {
  std::size_t at = 0;
  auto source = [&](char* data, std::size_t size) -> std::int64_t {
    std::size_t n = std::min(size, stream.size() - at);
    std::copy_n(stream.data() + at, n, data);
    at += n;
    return static_cast<std::int64_t>(n);
  };
  return Inflate64(source, sink, error);
}

bool Decode(const std::string& stream, std::string* output, std::string* error) {
  auto sink = [&](const char* data, std::size_t size) {
    output->append(data, size);
    return true;
  };
  return Decode(stream, sink, error);
}

std::string Pattern(std::size_t size) {
  std::string data;
  std::uint32_t x = 12345;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1103515245 + 12345;
    data += static_cast<char>(x >> 24);
  }
  return data;
}

TEST(Inflate64, FarDistancesAndTheSixteenBitLength) {
  std::string head = Pattern(60000);
  BitWriter out;
  Stored(&out, head, false);
  out.Bits(1, 1);  // last block, fixed codes
  out.Bits(1, 2);
  Fixed(&out, 'x');
  // Length symbol 285: 3 plus 16 extra bits; distance code 31: 49153 plus 14 extra bits.
  Fixed(&out, 285);
  out.Bits(65000 - 3, 16);
  out.Code(31, 5);
  out.Bits(55000 - 49153, 14);
  // Distance code 30: 32769 plus 14 extra bits, with a plain deflate length.
  Fixed(&out, 257);  // length 3
  out.Code(30, 5);
  out.Bits(40000 - 32769, 14);
  Fixed(&out, 256);

  std::string expected = head + "x";
  for (int i = 0; i < 65000; ++i) expected += expected[expected.size() - 55000];
  for (int i = 0; i < 3; ++i) expected += expected[expected.size() - 40000];
  std::string output, error;
  ASSERT_TRUE(Decode(out.bytes(), &output, &error)) << error;
  ASSERT_EQ(output.size(), expected.size());
  EXPECT_TRUE(output == expected)
      << "first difference at "
      << std::mismatch(output.begin(), output.end(), expected.begin()).first - output.begin();
}

TEST(Inflate64, DamageIsAnErrorNotAGuess) {
  BitWriter far;
  far.Bits(1, 1);
  far.Bits(1, 2);
  Fixed(&far, 'a');
  Fixed(&far, 257);
  far.Code(4, 5);  // distance 5, with only one byte written
  far.Bits(0, 1);
  Fixed(&far, 256);
  BitWriter bad_type;
  bad_type.Bits(7, 3);
  BitWriter stored;
  Stored(&stored, "abc", true);
  std::string cut = stored.bytes().substr(0, stored.bytes().size() - 1);
  std::string flipped = stored.bytes();
  flipped[3] ^= 1;  // the length's complement no longer fits
  for (const std::string& stream : {far.bytes(), bad_type.bytes(), cut, flipped}) {
    std::string output, error;
    EXPECT_FALSE(Decode(stream, &output, &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(Inflate64, ARefusingSinkStopsTheWork) {
  BitWriter out;
  for (int i = 0; i < 3; ++i) Stored(&out, Pattern(60000), i == 2);  // more than is buffered
  int calls = 0;
  std::string error;
  EXPECT_FALSE(Decode(
      out.bytes(), [&](const char*, std::size_t) { return ++calls > 1; }, &error));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace oxlip::archive

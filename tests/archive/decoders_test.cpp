// Our own decoders. Deflate64 streams are written bit by bit, for what a compressor may never
// happen to emit: the 16-bit length code, the two far distance codes, a stored block, damage. A
// bzip2 stream cut into its blocks and decoded on several threads gives the stream's bytes, and
// anything that is not one clean stream of several blocks is left whole or refused.
#include <bzlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "archive/bzip2_blocks.h"
#include "archive/inflate64.h"
#include "archive_fixtures.h"

namespace oxlip::archive {
namespace {

class BitWriter {
 public:
  BitWriter& Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
    return *this;
  }
  // Huffman codes go most significant bit first.
  BitWriter& Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
    return *this;
  }
  // The fixed code of a literal or length symbol.
  BitWriter& Fixed(int symbol) {
    if (symbol < 144) return Code(0x30 + symbol, 8);
    if (symbol < 256) return Code(0x190 + symbol - 144, 9);
    if (symbol < 280) return Code(symbol - 256, 7);
    return Code(0xC0 + symbol - 280, 8);
  }
  BitWriter& Stored(const std::string& data, bool last) {
    Bits(last, 3);  // and type 0
    while (used_ != 0) Bit(0);
    auto length = static_cast<std::uint16_t>(data.size());
    Bits(length, 16).Bits(static_cast<std::uint16_t>(~length), 16);
    bytes_ += data;
    return *this;
  }
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
  return Decode(
      stream,
      [&](const char* data, std::size_t size) {
        output->append(data, size);
        return true;
      },
      error);
}

TEST(Inflate64, FarDistancesAndTheSixteenBitLength) {
  std::string head = test::Noise(60000);
  BitWriter out;
  out.Stored(head, false).Bits(1, 1).Bits(1, 2).Fixed('x');  // last block, fixed codes
  // Length symbol 285: 3 plus 16 extra bits; distance code 31: 49153 plus 14 extra bits.
  out.Fixed(285).Bits(65000 - 3, 16).Code(31, 5).Bits(55000 - 49153, 14);
  // Distance code 30: 32769 plus 14 extra bits, with a plain deflate length (257: 3).
  out.Fixed(257).Code(30, 5).Bits(40000 - 32769, 14).Fixed(256);

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

TEST(Inflate64, DamageIsAnErrorNotAGuessAndARefusingSinkStopsTheWork) {
  // Distance 5, with only one byte written.
  std::string far =
      BitWriter().Bits(3, 3).Fixed('a').Fixed(257).Code(4, 5).Bits(0, 1).Fixed(256).bytes();
  std::string stored = BitWriter().Stored("abc", true).bytes();
  std::string flipped = stored;
  flipped[3] ^= 1;  // the length's complement no longer fits
  for (const std::string& stream :
       {far, BitWriter().Bits(7, 3).bytes(), stored.substr(0, stored.size() - 1), flipped}) {
    std::string output, error;
    EXPECT_FALSE(Decode(stream, &output, &error));
    EXPECT_FALSE(error.empty());
  }

  BitWriter out;
  for (int i = 0; i < 3; ++i) out.Stored(test::Noise(60000), i == 2);  // more than is buffered
  int calls = 0;
  std::string error;
  EXPECT_FALSE(Decode(
      out.bytes(), [&](const char*, std::size_t) { return ++calls > 1; }, &error));
  EXPECT_EQ(calls, 1);
}

// Blocks of 100 kB: ten of them for the test data, more than the helpers take ahead.
std::string Packed(const std::string& data) {
  std::string packed(data.size() + data.size() / 100 + 600, '\0');
  unsigned size = static_cast<unsigned>(packed.size());
  EXPECT_EQ(BZ2_bzBuffToBuffCompress(packed.data(), &size, const_cast<char*>(data.data()),
                                     static_cast<unsigned>(data.size()), 1, 0, 0),
            BZ_OK);
  packed.resize(size);
  return packed;
}

TEST(Bzip2Blocks, ManyBlocksGiveTheStreamsBytesOtherShapesAreLeftWholeAndDamageIsRefused) {
  std::mt19937 random(5);
  std::string data, out, error;
  // Runs of a few letters, with any byte now and then: short codes and codes too long for
  // the decoder's table.
  while (data.size() < 1500000)
    data += std::string(1 + random() % 9, random() % 8 ? 'a' + random() % 4 : random() % 256);
  auto decode = [&](const std::string& packed, std::uint64_t size) {
    out.clear();
    return DecodeBzip2Blocks(
        packed, size,
        [&](const char* bytes, std::size_t n) {
          out.append(bytes, n);
          return true;
        },
        &error);
  };
  const std::string packed = Packed(data), small = Packed(data.substr(0, 1000));
  EXPECT_EQ(decode(packed, data.size()), BlocksResult::kDone);
  EXPECT_TRUE(out == data);
  EXPECT_EQ(decode(packed, 250000), BlocksResult::kDone);
  EXPECT_TRUE(out == data.substr(0, 250000));
  EXPECT_EQ(decode(packed, data.size() + 1), BlocksResult::kFailed);

  EXPECT_EQ(decode(small, 1000), BlocksResult::kNotCut);  // one block
  EXPECT_EQ(decode(packed + small, data.size() + 1000), BlocksResult::kNotCut);
  EXPECT_EQ(decode("not bzip2 at all", 5), BlocksResult::kNotCut);
  std::string damaged = packed;
  damaged[damaged.size() / 2] ^= 0x10;
  EXPECT_EQ(decode(damaged, data.size()), BlocksResult::kFailed);
  EXPECT_FALSE(error.empty());
  EXPECT_NE(decode(packed.substr(0, packed.size() - 40), data.size()), BlocksResult::kDone);
}

}  // namespace
}  // namespace oxlip::archive

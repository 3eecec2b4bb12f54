#include "image/tga_reader.h"

#include <gtest/gtest.h>

#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ReadTga;

constexpr uint8_t kTopLeft = 0x20;
constexpr uint8_t kRightToLeft = 0x10;

Bytes Header(uint8_t type, int width, int height, int depth, uint8_t descriptor) {
  Bytes b;
  b.U8(3).U8(0).U8(type).Repeat(0, 5).U16(0).U16(0).U16(width).U16(height);
  b.U8(depth).U8(descriptor).Text("id!");  // an image id field precedes the pixels
  return b;
}

void AppendPixel(Bytes& b, const Rgba& c, int depth) {
  b.U8(c[2]).U8(c[1]).U8(c[0]);
  if (depth == 32) b.U8(c[3]);
}

TEST(TgaReader, UncompressedInBothOriginsAndDepths) {
  for (int depth : {24, 32}) {
    const image::Image expected = Pattern(4, 3, depth == 32);
    for (bool top_down : {false, true}) {
      SCOPED_TRACE(testing::Message() << depth << " bits, top-down " << top_down);
      image::ImageResult result = Read(ReadTga, EncodeTga(expected, depth, top_down));
      ASSERT_TRUE(result) << result.error;
      EXPECT_EQ(result.image->rgba, expected.rgba);
    }
  }
}

TEST(TgaReader, RunLengthPacketsMayCrossRows) {
  const Rgba red{200, 10, 20, 128}, blue{5, 6, 250, 255}, green{1, 220, 3, 64};
  for (int depth : {24, 32}) {
    SCOPED_TRACE(depth);
    Bytes b = Header(10, 3, 2, depth, (depth == 32 ? 8 : 0) | kTopLeft);
    b.U8(0x80 | 3);  // four red: the whole first row and one pixel of the second
    AppendPixel(b, red, depth);
    b.U8(1);  // two raw pixels
    AppendPixel(b, blue, depth);
    AppendPixel(b, green, depth);
    image::ImageResult result = Read(ReadTga, b.str());
    ASSERT_TRUE(result) << result.error;
    auto expect = [&](Rgba c) { return depth == 32 ? c : Rgba{c[0], c[1], c[2], 255}; };
    EXPECT_EQ(PixelAt(*result.image, 2, 0), expect(red));
    EXPECT_EQ(PixelAt(*result.image, 0, 1), expect(red));
    EXPECT_EQ(PixelAt(*result.image, 1, 1), expect(blue));
    EXPECT_EQ(PixelAt(*result.image, 2, 1), expect(green));
  }
}

TEST(TgaReader, ThirtyTwoBitsWithoutAlphaBitsAreOpaqueAndRightToLeftIsMirrored) {
  Bytes b = Header(2, 2, 1, 32, kTopLeft | kRightToLeft);
  b.U8(1).U8(2).U8(3).U8(0).U8(4).U8(5).U8(6).U8(0);
  image::ImageResult result = Read(ReadTga, b.str());
  ASSERT_TRUE(result) << result.error;
  EXPECT_EQ(PixelAt(*result.image, 0, 0), (Rgba{6, 5, 4, 255}));
  EXPECT_EQ(PixelAt(*result.image, 1, 0), (Rgba{3, 2, 1, 255}));
}

TEST(TgaReader, HostileFilesFail) {
  Bytes overflow = Header(10, 2, 2, 24, 0);
  overflow.U8(0x80 | 4).U8(1).U8(2).U8(3);  // five pixels into four
  overflow.Repeat(0, 40);
  EXPECT_NE(Read(ReadTga, overflow.str()).error.find("past the end"), std::string::npos);

  Bytes truncated_run = Header(10, 200, 1, 24, 0);
  truncated_run.U8(0x80 | 127).U8(1).U8(2).U8(3).U8(0x80 | 127).U8(1);
  EXPECT_FALSE(Read(ReadTga, truncated_run.str()));

  std::string raw = EncodeTga(Pattern(4, 4, false), 24, false);
  EXPECT_FALSE(Read(ReadTga, raw.substr(0, raw.size() - 1)));

  // A huge declared size with only a few bytes behind it.
  Bytes huge = Header(10, 65535, 65535, 32, 8);
  huge.U8(0xff).U32(0);
  EXPECT_FALSE(Read(ReadTga, huge.str()));

  EXPECT_FALSE(Read(ReadTga, Header(2, 0, 5, 24, 0).Repeat(0, 64).str()));
  EXPECT_FALSE(Read(ReadTga, std::string("\0\0\2", 3)));
}

TEST(TgaReader, HeaderIsCheckedStrictly) {
  const std::string good = EncodeTga(Pattern(2, 2, false), 24, true);
  EXPECT_TRUE(image::LooksLikeTga(reinterpret_cast<const uint8_t*>(good.data()), good.size()));
  auto altered = [&](size_t at, char value) {
    std::string bytes = good;
    bytes[at] = value;
    return image::LooksLikeTga(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  };
  EXPECT_FALSE(altered(1, 1));            // colour map present
  EXPECT_FALSE(altered(2, 1));            // colour-mapped image type
  EXPECT_FALSE(altered(2, 3));            // greyscale image type
  EXPECT_FALSE(altered(16, 16));          // 16-bit pixels
  EXPECT_FALSE(altered(17, 0x08));        // alpha bits on a 24-bit image
  EXPECT_FALSE(altered(17, char(0x40)));  // interleaved rows
}

}  // namespace
}  // namespace oxlip::test

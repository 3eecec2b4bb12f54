#include "image/bmp_reader.h"

#include <gtest/gtest.h>

#include <climits>

#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ReadBmp;

struct BmpShape {
  BmpShape(int32_t w, int32_t h, int bits = 24, uint32_t compression_ = 0, uint32_t header = 40,
           std::vector<Rgba> colours = {}, std::vector<uint32_t> bit_masks = {})
      : width(w),
        height(h),
        bpp(bits),
        compression(compression_),
        header_size(header),
        palette(std::move(colours)),
        masks(std::move(bit_masks)) {}
  int32_t width;
  int32_t height;
  int bpp;
  uint32_t compression;
  uint32_t header_size;
  std::vector<Rgba> palette;
  std::vector<uint32_t> masks;  // after a 40-byte header, inside a V4/V5 one
};

std::string BuildBmp(const BmpShape& s, const std::string& rows) {
  Bytes b;
  b.Text("BM").U32(0).U32(0).U32(0);
  b.U32(s.header_size).U32(uint32_t(s.width)).U32(uint32_t(s.height)).U16(1).U16(s.bpp);
  b.U32(s.compression).U32(0).U32(2835).U32(2835).U32(uint32_t(s.palette.size())).U32(0);
  if (s.header_size >= 108) {
    for (size_t i = 0; i < 4; ++i) b.U32(i < s.masks.size() ? s.masks[i] : 0);
    b.Repeat(0, s.header_size - 56);
  } else {
    for (uint32_t m : s.masks) b.U32(m);
  }
  for (const Rgba& c : s.palette) b.U8(c[2]).U8(c[1]).U8(c[0]).U8(0);
  b.PatchU32(10, uint32_t(b.size()));
  b.Text(rows);
  b.PatchU32(2, uint32_t(b.size()));
  return b.str();
}

TEST(BmpReader, PaletteDepths) {
  const std::vector<Rgba> palette = {
      {0, 0, 0, 255}, {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
  Bytes one;  // 10 x 1, bits from the most significant one; row padded to four bytes
  one.U8(0b10110000).U8(0b01000000).U16(0);
  image::ImageResult r1 =
      Read(ReadBmp, BuildBmp({10, 1, 1, 0, 40, {palette[0], palette[1]}}, one.str()));
  ASSERT_TRUE(r1) << r1.error;
  const int ones[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(*r1.image, x, 0), palette[ones[x]]) << x;

  Bytes four;  // 3 x 2, bottom row first
  four.U8(0x32).U8(0x10).U16(0).U8(0x01).U8(0x20).U16(0);
  image::ImageResult r4 = Read(ReadBmp, BuildBmp({3, 2, 4, 0, 40, palette}, four.str()));
  ASSERT_TRUE(r4) << r4.error;
  EXPECT_EQ(PixelAt(*r4.image, 0, 0), palette[0]);
  EXPECT_EQ(PixelAt(*r4.image, 1, 0), palette[1]);
  EXPECT_EQ(PixelAt(*r4.image, 2, 0), palette[2]);
  EXPECT_EQ(PixelAt(*r4.image, 0, 1), palette[3]);
  EXPECT_EQ(PixelAt(*r4.image, 2, 1), palette[1]);

  Bytes eight;
  eight.U8(3).U8(2).U8(1).U8(0);
  image::ImageResult r8 = Read(ReadBmp, BuildBmp({4, -1, 8, 0, 40, palette}, eight.str()));
  ASSERT_TRUE(r8) << r8.error;
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*r8.image, x, 0), palette[3 - x]);
}

TEST(BmpReader, DirectPixelsFollowTheirBitFields) {
  const std::string pixel = Bytes().U32(0x80112233).str();
  const struct {
    const char* what;
    BmpShape shape;
    std::string pixels;
    std::vector<Rgba> expected;
  } cases[] = {
      // Plain 32-bit pixels keep padding in the fourth byte, not alpha.
      {"plain", {1, 1, 32}, pixel, {{0x11, 0x22, 0x33, 255}}},
      {"V5 header with alpha",
       {1, 1, 32, 3, 124, {}, {0x0000ff00, 0x00ff0000, 0xff000000, 0x000000ff}},
       Bytes().U32(0x10203040).str(),
       {{0x30, 0x20, 0x10, 0x40}}},
      {"masks after the header",
       {1, 1, 32, 3, 40, {}, {0xff, 0xff00, 0xff0000}},
       pixel,
       {{0x33, 0x22, 0x11, 255}}},
      {"16 bits",
       {2, 1, 16, 3, 40, {}, {0xf800, 0x07e0, 0x001f}},
       Bytes().U16(0xf800).U16(0x07ff).str(),
       {{255, 0, 0, 255}, {0, 255, 255, 255}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    image::ImageResult result = Read(ReadBmp, BuildBmp(c.shape, c.pixels));
    ASSERT_TRUE(result) << result.error;
    for (size_t x = 0; x < c.expected.size(); ++x) {
      EXPECT_EQ(PixelAt(*result.image, int(x), 0), c.expected[x]);
    }
  }
}

TEST(BmpReader, HostileFilesFail) {
  const std::vector<Rgba> two_colours = {{0, 0, 0, 255}, {9, 9, 9, 255}};
  Bytes index5;
  index5.U8(1).U8(5).U16(0);
  EXPECT_EQ(Read(ReadBmp, BuildBmp({2, 1, 8, 0, 40, two_colours}, index5.str())).error,
            "BMP: palette index out of range");

  const std::string good = EncodeBmp(Pattern(3, 4, false));
  EXPECT_EQ(Read(ReadBmp, good.substr(0, good.size() - 1)).error, "BMP: pixel data is truncated");
  EXPECT_FALSE(Read(ReadBmp, good.substr(0, 30)));

  const std::string few(64, '\0');
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({100000, 1}, few)));
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({16384, 16384, 32}, few)));
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({-3, 4}, few)));
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({3, INT_MIN}, few)));
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({1, 1, 8, 1, 40, two_colours}, few)));  // RLE8
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({1, 1, 32, 3, 40, {}, {0xf0f, 0xf0, 0}}, few)));
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({1, 1, 24, 0, 64}, few)));  // unknown header size
  // A 52-byte header holds three masks even when an alpha mask is asked for.
  EXPECT_FALSE(Read(ReadBmp, BuildBmp({1, 1, 32, 6, 52, {}, {0xff0000, 0xff00, 0xff}}, "")));

  std::string offset_past_end = good;
  offset_past_end[10] = char(0xff);
  offset_past_end[13] = char(0x7f);
  EXPECT_FALSE(Read(ReadBmp, offset_past_end));
}

}  // namespace
}  // namespace oxlip::test

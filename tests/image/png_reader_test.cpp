#include "image/png_reader.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ReadPng;

TEST(PngReader, PaletteGreyAndInterlacedBecomeRgba) {
  const std::vector<Rgba> palette = {
      {1, 2, 3, 255}, {40, 50, 60, 0}, {7, 8, 9, 128}, {200, 0, 0, 255}};
  image::ImageResult indexed =
      Read(ReadPng, EncodePng({4, 1, PNG_COLOR_TYPE_PALETTE, 2, false, palette}, {0b00011011}));
  ASSERT_TRUE(indexed) << indexed.error;
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*indexed.image, x, 0), palette[x]);

  // 16-bit grey samples, big-endian.
  image::ImageResult grey = Read(ReadPng, EncodePng({3, 1, PNG_COLOR_TYPE_GRAY, 16, false, {}},
                                                    {0, 0, 0x80, 0x80, 0xff, 0xff}));
  ASSERT_TRUE(grey) << grey.error;
  EXPECT_EQ(PixelAt(*grey.image, 0, 0), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(PixelAt(*grey.image, 1, 0), (Rgba{128, 128, 128, 255}));
  EXPECT_EQ(PixelAt(*grey.image, 2, 0), (Rgba{255, 255, 255, 255}));

  const image::Image expected = Pattern(9, 9, false);
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < expected.rgba.size(); ++i) {
    if (i % 4 != 3) rgb.push_back(expected.rgba[i]);
  }
  image::ImageResult interlaced =
      Read(ReadPng, EncodePng({9, 9, PNG_COLOR_TYPE_RGB, 8, true, {}}, rgb));
  ASSERT_TRUE(interlaced) << interlaced.error;
  EXPECT_EQ(interlaced.image->rgba, expected.rgba);
}

// Width and height at bytes 16 and 20, the IHDR checksum after them.
std::string WithSize(std::string png, uint32_t width, uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = char(width >> (24 - 8 * i));
    png[20 + i] = char(height >> (24 - 8 * i));
  }
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
  return png;
}

TEST(PngReader, HostileFilesFail) {
  const std::string good = EncodePngRgba(Pattern(40, 40, true));
  ASSERT_TRUE(Read(ReadPng, WithSize(good, 40, 40)));  // the patching itself is sound

  EXPECT_FALSE(Read(ReadPng, WithSize(good, 1000000, 40)));
  EXPECT_FALSE(Read(ReadPng, WithSize(good, 16384, 16384)));
  // More rows than the data holds.
  EXPECT_FALSE(Read(ReadPng, WithSize(good, 40, 4000)));

  std::string bad_checksum = good;
  bad_checksum[30] ^= 1;
  EXPECT_FALSE(Read(ReadPng, bad_checksum));
}

}  // namespace
}  // namespace oxlip::test

#include "image/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ReadJpeg;

// Four flat 8 x 8 blocks, which JPEG keeps almost exactly.
image::Image Quadrants() {
  const Rgba colours[4] = {
      {200, 30, 40, 255}, {20, 180, 60, 255}, {30, 40, 220, 255}, {240, 240, 20, 255}};
  image::Image image{16, 16, {}};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Rgba& c = colours[(y / 8) * 2 + x / 8];
      image.rgba.insert(image.rgba.end(), c.begin(), c.end());
    }
  }
  return image;
}

void ExpectClose(const image::Image& actual, const image::Image& expected, int tolerance) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  ASSERT_EQ(actual.rgba.size(), expected.rgba.size());
  for (size_t i = 0; i < actual.rgba.size(); ++i) {
    ASSERT_LE(std::abs(actual.rgba[i] - expected.rgba[i]), tolerance) << "byte " << i;
  }
}

TEST(JpegReader, ColourAndGreyscale) {
  const image::Image colour = Quadrants();
  image::ImageResult result = Read(ReadJpeg, EncodeJpeg(colour, false));
  ASSERT_TRUE(result) << result.error;
  ExpectClose(*result.image, colour, 4);

  image::ImageResult grey = Read(ReadJpeg, EncodeJpeg(colour, true));
  ASSERT_TRUE(grey) << grey.error;
  for (int i = 0; i < 16 * 16; ++i) {
    const uint8_t* p = &grey.image->rgba[i * 4];
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
    EXPECT_EQ(p[3], 255);
  }
}

TEST(JpegReader, HostileFilesFail) {
  const std::string good = EncodeJpeg(Pattern(64, 64, false), false);
  image::ImageResult truncated = Read(ReadJpeg, good.substr(0, good.size() / 2));
  EXPECT_FALSE(truncated);
  EXPECT_EQ(truncated.error.rfind("JPEG: ", 0), 0u) << truncated.error;
  EXPECT_FALSE(Read(ReadJpeg, good.substr(0, 40)));

  // Height and width of the frame header set to 65535 each.
  std::string huge = good;
  const size_t sof = huge.find("\xff\xc0");
  ASSERT_NE(sof, std::string::npos);
  for (size_t i = sof + 5; i < sof + 9; ++i) huge[i] = char(0xff);
  EXPECT_FALSE(Read(ReadJpeg, huge));

  EXPECT_FALSE(Read(ReadJpeg, std::string("\xff\xd8\xff\xe0garbage", 11)));
}

}  // namespace
}  // namespace oxlip::test

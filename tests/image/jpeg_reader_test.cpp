#include "image/jpeg_reader.h"

#include <gtest/gtest.h>

#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ReadJpeg;

TEST(JpegReader, GreyscaleIsOpaqueGrey) {
  image::ImageResult grey = Read(ReadJpeg, EncodeJpeg(Quadrants(), true));
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
  // Cut inside the scan: the header reads, the rows do not.
  EXPECT_FALSE(Read(ReadJpeg, good.substr(0, good.size() / 2)));
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

#include "image/jp2_reader.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ReadJp2;

class Jp2Reader : public InTempFolder {};

TEST_F(Jp2Reader, GreyAndRgbAreOpaque) {
  const image::Image source = Pattern(6, 4, true);
  image::ImageResult grey = Read(ReadJp2, EncodeJpeg2000(source, 1, false, dir() + "g.jp2"));
  ASSERT_TRUE(grey) << grey.error;
  const uint8_t red = PixelAt(source, 3, 2)[0];  // the first component is the grey one
  EXPECT_EQ(PixelAt(*grey.image, 3, 2), (Rgba{red, red, red, 255}));
  image::ImageResult rgb = Read(ReadJp2, EncodeJpeg2000(source, 3, true, dir() + "c.j2k"));
  ASSERT_TRUE(rgb) << rgb.error;
  const Rgba expected = PixelAt(source, 5, 3);
  EXPECT_EQ(PixelAt(*rgb.image, 5, 3), (Rgba{expected[0], expected[1], expected[2], 255}));
}

TEST_F(Jp2Reader, AHugeDeclaredSizeFails) {
  const image::Image source = Pattern(32, 32, true);
  // SIZ of a codestream claiming 100000 x 100000 pixels.
  std::string huge = EncodeJpeg2000(source, 4, true, dir() + "h.j2k");
  for (size_t i = 8; i < 16; i += 4) {
    huge[i] = 0;
    huge[i + 1] = char(0x01);
    huge[i + 2] = char(0x86);
    huge[i + 3] = char(0xa0);
  }
  EXPECT_FALSE(Read(ReadJp2, huge));
}

}  // namespace
}  // namespace oxlip::test

#include "image/image_scale.h"

#include <gtest/gtest.h>

#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ScaleImage;

TEST(ImageScale, StretchesByNearestPixel) {
  const image::Image source = Pattern(2, 2, true);
  const image::Image icon = ScaleImage(source, image::kIconSide, image::kIconSide);
  ASSERT_EQ(icon.width, 48);
  ASSERT_EQ(icon.height, 48);
  EXPECT_EQ(PixelAt(icon, 0, 0), PixelAt(source, 0, 0));
  EXPECT_EQ(PixelAt(icon, 23, 24), PixelAt(source, 0, 1));
  EXPECT_EQ(PixelAt(icon, 24, 23), PixelAt(source, 1, 0));
  EXPECT_EQ(PixelAt(icon, 47, 47), PixelAt(source, 1, 1));

  const image::Image big = Pattern(6, 96, false);
  const image::Image small = ScaleImage(big, 3, 48);
  EXPECT_EQ(PixelAt(small, 0, 0), PixelAt(big, 1, 1));
  EXPECT_EQ(PixelAt(small, 2, 47), PixelAt(big, 5, 95));
}

TEST(ImageScale, NothingToScaleGivesAnEmptyImage) {
  const image::Image source = Pattern(3, 3, false);
  EXPECT_TRUE(ScaleImage(source, 0, 48).rgba.empty());
  EXPECT_TRUE(ScaleImage(source, 48, -1).rgba.empty());
  EXPECT_TRUE(ScaleImage(image::Image{}, 48, 48).rgba.empty());
  EXPECT_TRUE(ScaleImage(image::Image{5, 5, {1, 2, 3}}, 48, 48).rgba.empty());
}

}  // namespace
}  // namespace oxlip::test

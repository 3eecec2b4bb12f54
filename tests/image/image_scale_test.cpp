#include "image/image_scale.h"

#include <gtest/gtest.h>

namespace oxlip::test {
namespace {

using image::ScaleImage;

// Every pixel a different colour.
image::Image Numbered(int width, int height) {
  image::Image image{width, height, {}};
  for (int i = 0; i < width * height; ++i)
    image.rgba.insert(image.rgba.end(), {uint8_t(i), uint8_t(i >> 8), 7, 255});
  return image;
}

uint8_t PixelNumber(const image::Image& image, int x, int y) {
  return image.rgba.at((size_t(y) * image.width + x) * 4);
}

TEST(ImageScale, StretchesByNearestPixelAndNothingToScaleGivesNothing) {
  const image::Image icon = ScaleImage(Numbered(2, 2), image::kIconSide, image::kIconSide);
  ASSERT_EQ(icon.width, 48);
  ASSERT_EQ(icon.height, 48);
  const int icon_cases[][3] = {{0, 0, 0}, {23, 24, 2}, {24, 23, 1}, {47, 47, 3}};
  for (const auto& [x, y, n] : icon_cases) EXPECT_EQ(PixelNumber(icon, x, y), n) << x << "," << y;
  const image::Image small = ScaleImage(Numbered(6, 96), 3, 48);
  EXPECT_EQ(PixelNumber(small, 0, 0), 1 * 6 + 1);
  EXPECT_EQ(PixelNumber(small, 2, 47), uint8_t(95 * 6 + 5));

  const image::Image source = Numbered(3, 3);
  EXPECT_TRUE(ScaleImage(source, 0, 48).rgba.empty());
  EXPECT_TRUE(ScaleImage(source, 48, -1).rgba.empty());
  EXPECT_TRUE(ScaleImage(image::Image{}, 48, 48).rgba.empty());
  EXPECT_TRUE(ScaleImage(image::Image{5, 5, {1, 2, 3}}, 48, 48).rgba.empty());
}

}  // namespace
}  // namespace oxlip::test

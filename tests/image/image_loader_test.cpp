#include "image/image_loader.h"

#include <gtest/gtest.h>
#include <png.h>

#include "support/temp_folder.h"
#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ImageFormat;
using image::LoadImage;

class ImageLoader : public InTempFolder {};

std::string Tga(const image::Image& image) {
  Bytes b;
  b.U8(0).U8(0).U8(2).Repeat(0, 9).U16(image.width).U16(image.height).U8(32).U8(0x28);
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    b.U8(image.rgba[i + 2]).U8(image.rgba[i + 1]).U8(image.rgba[i]).U8(image.rgba[i + 3]);
  }
  return b.str();
}

std::string Bmp(const image::Image& image) {
  Bytes b;
  b.Text("BM").U32(0).U32(0).U32(54).U32(40).U32(image.width).U32(-image.height);
  b.U16(1).U16(32).U32(0).Repeat(0, 20);
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    b.U8(image.rgba[i + 2]).U8(image.rgba[i + 1]).U8(image.rgba[i]).U8(0);
  }
  return b.str();
}

TEST_F(ImageLoader, EachFormatIsRecognisedFromItsBytes) {
  const image::Image rgba = Pattern(4, 4, true);
  const struct {
    std::string name;
    std::string bytes;
    ImageFormat format;
  } files[] = {
      {"a.jpg", EncodeJpeg(rgba, false), ImageFormat::kJpeg},
      {"a.jp2", EncodeJpeg2000(rgba, 4, false, dir() + "x.jp2"), ImageFormat::kJpeg2000},
      {"a.j2k", EncodeJpeg2000(rgba, 4, true, dir() + "x.j2k"), ImageFormat::kJpeg2000},
      {"a.png", EncodePngRgba(rgba), ImageFormat::kPng},
      {"a.tga", Tga(rgba), ImageFormat::kTga},
      {"a.bmp", Bmp(rgba), ImageFormat::kBmp},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    // The name says nothing: a PNG called .bmp is still read as PNG.
    WriteFile(dir() + "icon.bmp", file.bytes);
    image::ImageResult result = image::LoadImageResult(dir() + "icon.bmp");
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.format, file.format);
    EXPECT_EQ(result.image->width, 4);
    if (file.format != ImageFormat::kJpeg && file.format != ImageFormat::kBmp) {
      EXPECT_EQ(result.image->rgba, rgba.rgba);
    }
  }
}

TEST_F(ImageLoader, FailuresSayWhy) {
  EXPECT_EQ(image::LoadImageResult(dir() + "missing.png").error,
            "LoadImage:Can't read " + dir() + "missing.png");
  EXPECT_FALSE(image::LoadImageFile(dir() + "missing.png"));

  const std::string garbage = "this is not an image at all, just some text";
  EXPECT_EQ(Read(LoadImage, garbage).error, "LoadImage:Unknown image format");
  EXPECT_FALSE(Read(LoadImage, ""));

  const std::string png = EncodePngRgba(Pattern(8, 8, true));
  image::ImageResult broken = Read(LoadImage, png.substr(0, png.size() - 30));
  EXPECT_EQ(broken.format, ImageFormat::kPng);
  EXPECT_EQ(broken.error.rfind("LoadImage:PNG: ", 0), 0u) << broken.error;

  WriteFile(dir() + "icon.png", png);
  std::optional<image::Image> loaded = image::LoadImageFile(dir() + "icon.png");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->height, 8);
}

}  // namespace
}  // namespace oxlip::test

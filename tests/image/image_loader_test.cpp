// Every reader: a file is recognised by its bytes and decoded through the loader, and a damaged
// one refused with the reason under its format's name.
#include "image/image_loader.h"

#include <gtest/gtest.h>

#include <functional>

#include "image/bmp_reader.h"
#include "image/jp2_reader.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/tga_reader.h"
#include "support/temp_folder.h"
#include "test_encoders.h"

namespace oxlip::test {
namespace {

using image::ImageFormat;
using image::LoadImage;

class ImageLoader : public InTempFolder {};

struct Format {
  const char* name;  // as the errors say it
  ImageFormat format;
  image::ImageResult (*read)(const uint8_t*, size_t);
  bool alpha;
  int tolerance;  // 0: decoded exactly, from a pattern; otherwise from flat blocks
  std::function<std::string(const image::Image&, const std::string& scratch)> encode;
};

const Format kFormats[] = {
    {"JPEG", ImageFormat::kJpeg, image::ReadJpeg, false, 4,
     [](const image::Image& i, const std::string&) { return EncodeJpeg(i, false); }},
    {"JPEG 2000", ImageFormat::kJpeg2000, image::ReadJp2, true, 0,
     [](const image::Image& i, const std::string& s) { return EncodeJpeg2000(i, 4, false, s); }},
    {"JPEG 2000", ImageFormat::kJpeg2000, image::ReadJp2, true, 0,
     [](const image::Image& i, const std::string& s) { return EncodeJpeg2000(i, 4, true, s); }},
    {"PNG", ImageFormat::kPng, image::ReadPng, true, 0,
     [](const image::Image& i, const std::string&) { return EncodePngRgba(i); }},
    {"TGA", ImageFormat::kTga, image::ReadTga, true, 0,
     [](const image::Image& i, const std::string&) { return EncodeTga(i, 32, true); }},
    {"BMP", ImageFormat::kBmp, image::ReadBmp, false, 0,
     [](const image::Image& i, const std::string&) { return EncodeBmp(i); }},
};

TEST_F(ImageLoader, EachFormatIsRecognisedFromItsBytesAndDamageIsRefused) {
  for (const Format& f : kFormats) {
    SCOPED_TRACE(f.name);
    const image::Image expected = f.tolerance ? Quadrants() : Pattern(32, 30, f.alpha);
    const std::string bytes = f.encode(expected, dir() + "scratch");
    // The name says nothing: whatever the format, the file is called icon.bmp.
    WriteFile(dir() + "icon.bmp", bytes);
    image::ImageResult result = image::LoadImageResult(dir() + "icon.bmp");
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.format, f.format);
    ExpectClose(*result.image, expected, f.tolerance);

    image::ImageResult truncated = Read(f.read, bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(truncated);
    EXPECT_EQ(truncated.error.rfind(std::string(f.name) + ": ", 0), 0u) << truncated.error;
    EXPECT_FALSE(Read(f.read, bytes.substr(0, 40)));
  }
}

TEST_F(ImageLoader, FailuresSayWhy) {
  EXPECT_EQ(image::LoadImageResult(dir() + "missing.png").error,
            "LoadImage:Can't read " + dir() + "missing.png");
  EXPECT_FALSE(image::LoadImageFile(dir() + "missing.png"));
  EXPECT_EQ(Read(LoadImage, "this is not an image at all, just some text").error,
            "LoadImage:Unknown image format");
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

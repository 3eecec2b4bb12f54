#include "image/image_loader.h"

#include <utility>

#include "image/bmp_reader.h"
#include "image/jp2_reader.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/tga_reader.h"
#include "platform/fs.h"

namespace oxlip::image {
namespace {

struct Decoder {
  bool (*recognises)(const uint8_t*, size_t);
  ImageResult (*read)(const uint8_t*, size_t);
};

bool LooksLikeJpeg2000(const uint8_t* data, size_t size) {
  return LooksLikeJp2(data, size) || LooksLikeCodestream(data, size);
}

constexpr Decoder kDecoders[] = {
    {LooksLikeJpeg, ReadJpeg}, {LooksLikeJpeg2000, ReadJp2}, {LooksLikePng, ReadPng},
    {LooksLikeTga, ReadTga},   {LooksLikeBmp, ReadBmp},
};

}  // namespace

ImageResult LoadImage(const uint8_t* data, size_t size) {
  if (size == 0) return Failed("LoadImage:Empty image data");
  ImageResult first_failure;
  for (const Decoder& decoder : kDecoders) {
    if (!decoder.recognises(data, size)) continue;
    ImageResult result = decoder.read(data, size);
    if (result) return result;
    if (first_failure.error.empty()) first_failure = std::move(result);
  }
  if (first_failure.error.empty()) return Failed("LoadImage:Unknown image format");
  first_failure.error = "LoadImage:" + first_failure.error;
  return first_failure;
}

ImageResult LoadImageResult(const std::string& path) {
  std::optional<std::string> bytes = platform::ReadWholeFile(path);
  if (!bytes) return Failed("LoadImage:Can't read " + path);
  ImageResult result = LoadImage(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
  if (!result) result.error += " (" + path + ")";
  return result;
}

std::optional<Image> LoadImageFile(const std::string& path) {
  return std::move(LoadImageResult(path).image);
}

}  // namespace oxlip::image

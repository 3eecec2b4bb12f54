#include "image/image.h"

#include <utility>

namespace oxlip::image {

std::string CheckImageSize(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return "image has no pixels";
  if (width > kMaxImageSide || height > kMaxImageSide) return "image is too wide or too high";
  if (width * height > kMaxImagePixels) return "image has too many pixels";
  return {};
}

ImageResult Decoded(Image image, ImageFormat format) {
  ImageResult result;
  result.image = std::move(image);
  result.format = format;
  return result;
}

ImageResult Failed(std::string error, ImageFormat format) {
  ImageResult result;
  result.format = format;
  result.error = std::move(error);
  return result;
}

}  // namespace oxlip::image

#pragma once
// Decoded images: 8-bit RGBA, rows top to bottom, colours not premultiplied.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oxlip::image {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width * height * 4 bytes
};

enum class ImageFormat { kNone, kJpeg, kJpeg2000, kPng, kTga, kBmp };

// Either an image or the reason there is none.
struct ImageResult {
  std::optional<Image> image;
  ImageFormat format = ImageFormat::kNone;
  std::string error;  // empty on success

  explicit operator bool() const { return image.has_value(); }
};

// No file of ours needs more; anything larger is refused before memory is reserved for it.
inline constexpr int64_t kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t{64} * 1024 * 1024;

// Empty when the size can be decoded, otherwise the reason it cannot.
std::string CheckImageSize(int64_t width, int64_t height);

ImageResult Decoded(Image image, ImageFormat format);
ImageResult Failed(std::string error, ImageFormat format = ImageFormat::kNone);

}  // namespace oxlip::image

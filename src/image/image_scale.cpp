#include "image/image_scale.h"

#include <cstring>

namespace oxlip::image {

Image ScaleImage(const Image& source, int width, int height) {
  Image target;
  const bool source_ok = source.width > 0 && source.height > 0 &&
                         source.rgba.size() == size_t(source.width) * size_t(source.height) * 4;
  if (!source_ok || width <= 0 || height <= 0) return target;
  target.width = width;
  target.height = height;
  target.rgba.resize(size_t(width) * size_t(height) * 4);
  uint8_t* out = target.rgba.data();
  for (int y = 0; y < height; ++y) {
    const int64_t sy = (int64_t{2} * y + 1) * source.height / (int64_t{2} * height);
    const uint8_t* row = source.rgba.data() + size_t(sy) * size_t(source.width) * 4;
    for (int x = 0; x < width; ++x, out += 4) {
      const int64_t sx = (int64_t{2} * x + 1) * source.width / (int64_t{2} * width);
      std::memcpy(out, row + size_t(sx) * 4, 4);
    }
  }
  return target;
}

}  // namespace oxlip::image

// Any bytes given to the bitmap reader must give an image or a reason, nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  oxlip::image::ImageResult result = oxlip::image::ReadBmp(data, size);
  if (result &&
      result.image->rgba.size() != size_t(result.image->width) * size_t(result.image->height) * 4) {
    std::abort();
  }
  if (!result && result.error.empty()) std::abort();
  return 0;
}

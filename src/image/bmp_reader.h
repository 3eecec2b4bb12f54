#pragma once
// Windows bitmaps: 1, 4 and 8-bit palettes, 16, 24 and 32-bit pixels (with bit fields),
// bottom-up and top-down, core, info and V4/V5 headers. Compressed forms are refused.
#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace oxlip::image {

bool LooksLikeBmp(const uint8_t* data, size_t size);  // "BM"

ImageResult ReadBmp(const uint8_t* data, size_t size);

}  // namespace oxlip::image

#pragma once
// JPEG images through libjpeg-turbo: greyscale and colour, baseline and progressive.
#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace oxlip::image {

bool LooksLikeJpeg(const uint8_t* data, size_t size);  // a start-of-image marker

ImageResult ReadJpeg(const uint8_t* data, size_t size);

}  // namespace oxlip::image

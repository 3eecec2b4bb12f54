#pragma once
// PNG images through libpng: every colour type and depth, interlaced or not.
#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace oxlip::image {

bool LooksLikePng(const uint8_t* data, size_t size);  // the 8-byte signature

ImageResult ReadPng(const uint8_t* data, size_t size);

}  // namespace oxlip::image

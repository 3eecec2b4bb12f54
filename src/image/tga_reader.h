#pragma once
// True-colour Targa images (types 2 and 10, 24 or 32 bits per pixel).
#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace oxlip::image {

// Targa has no magic number, so the header is checked strictly: anything this does not
// accept is left to the other readers.
bool LooksLikeTga(const uint8_t* data, size_t size);

ImageResult ReadTga(const uint8_t* data, size_t size);

}  // namespace oxlip::image

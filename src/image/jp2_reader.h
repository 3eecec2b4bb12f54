#pragma once
// JPEG 2000 images through OpenJPEG: .jp2 files and raw codestreams (.j2k).
#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace oxlip::image {

bool LooksLikeJp2(const uint8_t* data, size_t size);         // the JP2 signature box
bool LooksLikeCodestream(const uint8_t* data, size_t size);  // SOC then SIZ

ImageResult ReadJp2(const uint8_t* data, size_t size);

}  // namespace oxlip::image

#pragma once
// Icon images: JPEG, JPEG 2000, PNG, TGA and BMP, tried in that order until one accepts the
// bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "image/image.h"

namespace oxlip::image {

// On failure the error names the format that recognised the data and why it could not be
// decoded, or says that no format recognised it.
ImageResult LoadImage(const uint8_t* data, size_t size);

// Also fails, with the path in the error, when the file cannot be read.
ImageResult LoadImageResult(const std::string& path);

// The image of the file, or none when it is missing or no format accepts it.
std::optional<Image> LoadImageFile(const std::string& path);

}  // namespace oxlip::image

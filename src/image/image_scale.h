#pragma once
// Stretching an image to another size, as icons are drawn into 48 x 48 list images.
#include "image/image.h"

namespace oxlip::image {

inline constexpr int kIconSide = 48;

// Nearest pixel, sampled at the centre of each target pixel. An empty image when either
// size is not positive or the source has no pixels.
Image ScaleImage(const Image& source, int width, int height);

}  // namespace oxlip::image

#pragma once
// PNG files written with libpng, in any of its colour types and depths.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

namespace oxlip::test {

struct PngShape {
  int width = 0;
  int height = 0;
  int color_type = 0;  // PNG_COLOR_TYPE_*
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<std::array<uint8_t, 4>> palette;  // RGBA; alpha below 255 goes into tRNS
};

// `rows`: the packed rows in PNG's own layout, one after the other.
std::string EncodePng(const PngShape& shape, const std::vector<uint8_t>& rows);
std::string EncodePngRgba(const image::Image& image);

}  // namespace oxlip::test

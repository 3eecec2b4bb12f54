#pragma once
// What the headers of a bitmap say about its pixels, checked against the file's size.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace oxlip::image {

struct BmpChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;  // 0: the channel is absent
};

struct BmpLayout {
  int width = 0;
  int height = 0;  // always positive; see top_down
  bool top_down = false;
  int bits_per_pixel = 0;
  std::array<BmpChannel, 4> channels;           // red, green, blue, alpha; 16 and 32 bits
  std::vector<std::array<uint8_t, 4>> palette;  // RGBA; up to 8 bits
  size_t pixel_offset = 0;
  size_t stride = 0;  // bytes per stored row
};

// Empty when every row of pixels lies inside the data.
std::string ParseBmpLayout(const uint8_t* data, size_t size, BmpLayout& layout);

}  // namespace oxlip::image

#include "image/bmp_reader.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "image/bmp_layout.h"

namespace oxlip::image {
namespace {

uint8_t ChannelValue(const BmpChannel& channel, uint32_t pixel) {
  if (channel.bits == 0) return 0;
  uint32_t value = (pixel & channel.mask) >> channel.shift;
  if (channel.bits >= 8) return uint8_t(value >> (channel.bits - 8));
  return uint8_t(value * 255 / ((1u << channel.bits) - 1));
}

void PutMasked(const BmpLayout& layout, uint32_t pixel, uint8_t* out) {
  for (int c = 0; c < 3; ++c) out[c] = ChannelValue(layout.channels[c], pixel);
  const BmpChannel& alpha = layout.channels[3];
  out[3] = alpha.bits == 0 ? 255 : ChannelValue(alpha, pixel);
}

// False when a pixel names a palette entry the file does not have.
bool DecodeIndexedRow(const uint8_t* row, const BmpLayout& layout, uint8_t* out) {
  const int bpp = layout.bits_per_pixel;
  const int per_byte = 8 / bpp;
  const unsigned index_mask = (1u << bpp) - 1;
  for (int x = 0; x < layout.width; ++x) {
    const int shift = 8 - bpp * (x % per_byte + 1);
    const unsigned index = (row[x / per_byte] >> shift) & index_mask;
    if (index >= layout.palette.size()) return false;
    const std::array<uint8_t, 4>& entry = layout.palette[index];
    for (int c = 0; c < 4; ++c) out[x * 4 + c] = entry[c];
  }
  return true;
}

void DecodeDirectRow(const uint8_t* row, const BmpLayout& layout, uint8_t* out) {
  for (int x = 0; x < layout.width; ++x) {
    uint8_t* px = out + x * 4;
    if (layout.bits_per_pixel == 24) {
      const uint8_t* in = row + x * 3;
      px[0] = in[2];
      px[1] = in[1];
      px[2] = in[0];
      px[3] = 255;
    } else if (layout.bits_per_pixel == 16) {
      const uint8_t* in = row + x * 2;
      PutMasked(layout, uint32_t(in[0] | (in[1] << 8)), px);
    } else {
      const uint8_t* in = row + x * 4;
      PutMasked(layout,
                uint32_t(in[0]) | (uint32_t(in[1]) << 8) | (uint32_t(in[2]) << 16) |
                    (uint32_t(in[3]) << 24),
                px);
    }
  }
}

}  // namespace

bool LooksLikeBmp(const uint8_t* data, size_t size) {
  return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

ImageResult ReadBmp(const uint8_t* data, size_t size) {
  BmpLayout layout;
  std::string error = ParseBmpLayout(data, size, layout);
  if (!error.empty()) return Failed("BMP: " + error, ImageFormat::kBmp);
  Image image;
  image.width = layout.width;
  image.height = layout.height;
  const size_t out_stride = size_t(layout.width) * 4;
  image.rgba.resize(out_stride * size_t(layout.height));
  for (int y = 0; y < layout.height; ++y) {
    const uint8_t* row = data + layout.pixel_offset + size_t(y) * layout.stride;
    const int out_row = layout.top_down ? y : layout.height - 1 - y;
    uint8_t* out = image.rgba.data() + size_t(out_row) * out_stride;
    if (layout.bits_per_pixel > 8) {
      DecodeDirectRow(row, layout, out);
    } else if (!DecodeIndexedRow(row, layout, out)) {
      return Failed("BMP: palette index out of range", ImageFormat::kBmp);
    }
  }
  return Decoded(std::move(image), ImageFormat::kBmp);
}

}  // namespace oxlip::image

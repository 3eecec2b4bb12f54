#include "image/bmp_layout.h"

#include <bit>

#include "image/byte_reader.h"
#include "image/image.h"

namespace oxlip::image {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

struct InfoFields {
  size_t header_size = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: top-down
  int bits_per_pixel = 0;
  uint32_t compression = kRgb;
  uint32_t colours_used = 0;
};

std::string ReadInfoFields(const uint8_t* data, size_t size, InfoFields& info) {
  if (size < kFileHeaderSize + 4) return "file is shorter than its headers";
  const uint8_t* h = data + kFileHeaderSize;
  info.header_size = ReadU32(h);
  const size_t hs = info.header_size;
  if (hs != kCoreHeaderSize && hs != kInfoHeaderSize && hs != 52 && hs != 56 && hs != 108 &&
      hs != 124) {
    return "unknown header size";
  }
  if (size - kFileHeaderSize < hs) return "file is shorter than its headers";
  if (hs == kCoreHeaderSize) {
    info.width = ReadU16(h + 4);
    info.height = ReadU16(h + 6);
    if (ReadU16(h + 8) != 1) return "plane count is not 1";
    info.bits_per_pixel = ReadU16(h + 10);
    return {};
  }
  info.width = ReadI32(h + 4);
  info.height = ReadI32(h + 8);
  if (ReadU16(h + 12) != 1) return "plane count is not 1";
  info.bits_per_pixel = ReadU16(h + 14);
  info.compression = ReadU32(h + 16);
  info.colours_used = ReadU32(h + 32);
  return {};
}

std::string MakeChannel(uint32_t mask, int bits_per_pixel, BmpChannel& channel) {
  channel = BmpChannel{};
  if (mask == 0) return {};
  if (bits_per_pixel < 32 && (mask >> bits_per_pixel) != 0) return "bit mask exceeds the pixel";
  const int shift = std::countr_zero(mask);
  const uint32_t field = mask >> shift;
  if ((field & (field + 1)) != 0) return "bit mask is not contiguous";
  channel.mask = mask;
  channel.shift = shift;
  channel.bits = std::popcount(field);
  return {};
}

// Bit masks of 16 and 32-bit pixels; returns where the masks stored after the header end.
std::string ReadMasks(const uint8_t* data, size_t size, const InfoFields& info, BmpLayout& layout,
                      size_t& after_masks) {
  const size_t header_end = kFileHeaderSize + info.header_size;
  after_masks = header_end;
  std::array<uint32_t, 4> masks = {0x7c00, 0x03e0, 0x001f, 0};
  if (info.bits_per_pixel == 32) masks = {0xff0000, 0xff00, 0xff, 0};
  if (info.compression == kBitFields || info.compression == kAlphaBitFields) {
    size_t count = info.compression == kAlphaBitFields ? 4 : 3;
    size_t at = kFileHeaderSize + kInfoHeaderSize;
    if (info.header_size == kInfoHeaderSize) {
      after_masks = header_end + count * 4;
      if (after_masks > size) return "bit masks are truncated";
    } else {
      count = (info.header_size - kInfoHeaderSize) / 4;  // masks inside the header
      if (count > 4) count = 4;
    }
    for (size_t i = 0; i < count; ++i) masks[i] = ReadU32(data + at + i * 4);
  }
  for (size_t i = 0; i < 4; ++i) {
    std::string error = MakeChannel(masks[i], info.bits_per_pixel, layout.channels[i]);
    if (!error.empty()) return error;
  }
  if (layout.channels[0].bits + layout.channels[1].bits + layout.channels[2].bits == 0) {
    return "bit masks hold no colour";
  }
  return {};
}

std::string ReadPalette(const uint8_t* data, size_t size, const InfoFields& info, size_t start,
                        BmpLayout& layout) {
  const size_t most = size_t{1} << info.bits_per_pixel;
  size_t count = info.colours_used == 0 ? most : info.colours_used;
  if (count > most) count = most;
  const size_t entry = info.header_size == kCoreHeaderSize ? 3 : 4;
  if (start > size || (size - start) / entry < count) return "palette is truncated";
  layout.palette.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + start + i * entry;
    layout.palette[i] = {e[2], e[1], e[0], 255};
  }
  return {};
}

std::string CheckFormat(const InfoFields& info) {
  const int bpp = info.bits_per_pixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return "unsupported pixel depth";
  }
  if (info.compression == kRgb) return {};
  if ((info.compression == kBitFields || info.compression == kAlphaBitFields) &&
      (bpp == 16 || bpp == 32)) {
    return {};
  }
  return "unsupported compression";
}

std::string PlacePixels(const uint8_t* data, size_t size, BmpLayout& layout) {
  const size_t offset = ReadU32(data + 10);
  layout.stride = (size_t(layout.width) * size_t(layout.bits_per_pixel) + 31) / 32 * 4;
  if (offset > size || (size - offset) / layout.stride < size_t(layout.height)) {
    return "pixel data is truncated";
  }
  layout.pixel_offset = offset;
  return {};
}

}  // namespace

std::string ParseBmpLayout(const uint8_t* data, size_t size, BmpLayout& layout) {
  if (size < 2 || data[0] != 'B' || data[1] != 'M') return "no BM signature";
  InfoFields info;
  std::string error = ReadInfoFields(data, size, info);
  if (error.empty()) error = CheckFormat(info);
  const int64_t height = info.height < 0 ? -info.height : info.height;
  if (error.empty()) error = CheckImageSize(info.width, height);
  if (!error.empty()) return error;
  layout.width = int(info.width);
  layout.height = int(height);
  layout.top_down = info.height < 0;
  layout.bits_per_pixel = info.bits_per_pixel;
  size_t after_masks = kFileHeaderSize + info.header_size;
  if (info.bits_per_pixel == 16 || info.bits_per_pixel == 32) {
    error = ReadMasks(data, size, info, layout, after_masks);
  } else if (info.bits_per_pixel <= 8) {
    error = ReadPalette(data, size, info, after_masks, layout);
  }
  if (error.empty()) error = PlacePixels(data, size, layout);
  return error;
}

}  // namespace oxlip::image

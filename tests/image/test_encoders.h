#pragma once
// Real encoders (libpng, libjpeg, OpenJPEG) for writing the images the readers must decode,
// and a byte writer for the formats that have no library here.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "image/image.h"

namespace oxlip::test {

using Rgba = std::array<uint8_t, 4>;

Rgba PixelAt(const image::Image& image, int x, int y);

// width x height pixels, each colour different from its neighbours.
image::Image Pattern(int width, int height, bool with_alpha);

struct PngShape {
  PngShape(int w, int h, int type, int depth, bool interlace = false,
           std::vector<Rgba> colours = {})
      : width(w),
        height(h),
        color_type(type),
        bit_depth(depth),
        interlaced(interlace),
        palette(std::move(colours)) {}
  int width;
  int height;
  int color_type;
  int bit_depth;
  bool interlaced;
  std::vector<Rgba> palette;  // palette images; alpha below 255 goes into tRNS
};
// `rows`: the packed rows in PNG's own layout, one after the other.
std::string EncodePng(const PngShape& shape, const std::vector<uint8_t>& rows);
std::string EncodePngRgba(const image::Image& image);

// No chroma subsampling, so flat 8 x 8 blocks come back within a few levels.
std::string EncodeJpeg(const image::Image& image, bool greyscale);

// Lossless. `components`: 1 grey, 3 RGB, 4 RGBA. Written through a file at `path`.
std::string EncodeJpeg2000(const image::Image& image, int components, bool codestream,
                           const std::string& path);

// Little-endian bytes appended one field at a time.
class Bytes {
 public:
  Bytes& U8(unsigned v);
  Bytes& U16(unsigned v);
  Bytes& U32(uint32_t v);
  Bytes& Text(const std::string& text);
  Bytes& Repeat(unsigned v, size_t count);
  void PatchU32(size_t at, uint32_t v);
  size_t size() const { return data_.size(); }
  const std::string& str() const { return data_; }

 private:
  std::string data_;
};

image::ImageResult Read(image::ImageResult (*reader)(const uint8_t*, size_t),
                        const std::string& bytes);

}  // namespace oxlip::test

#pragma once
// Real encoders (libjpeg, OpenJPEG; PNG in support/png_writer.h) for writing the images the
// readers must decode, and byte writers for the formats that have no library here.
#include <array>
#include <cstdint>
#include <string>

#include "image/image.h"
#include "support/png_writer.h"

namespace oxlip::test {

using Rgba = std::array<uint8_t, 4>;

Rgba PixelAt(const image::Image& image, int x, int y);

// width x height pixels, each colour different from its neighbours.
image::Image Pattern(int width, int height, bool with_alpha);
// Four flat 8 x 8 blocks, which JPEG keeps almost exactly.
image::Image Quadrants();
void ExpectClose(const image::Image& actual, const image::Image& expected, int tolerance);

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

// Uncompressed, 24 or 32 bits (with 8 alpha bits), an image id before the pixels.
std::string EncodeTga(const image::Image& image, int depth, bool top_down);
// 24 bits, bottom-up, rows padded to four bytes.
std::string EncodeBmp(const image::Image& image);

image::ImageResult Read(image::ImageResult (*reader)(const uint8_t*, size_t),
                        const std::string& bytes);

}  // namespace oxlip::test

#include "image/tga_reader.h"

#include <string>
#include <utility>

#include "image/byte_reader.h"

namespace oxlip::image {
namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kUncompressed = 2;
constexpr uint8_t kRunLength = 10;

struct TgaHeader {
  size_t pixel_offset = 0;
  int width = 0;
  int height = 0;
  int bytes_per_pixel = 0;
  bool run_length = false;
  bool has_alpha = false;
  bool top_down = false;
  bool right_to_left = false;
};

std::string ParseHeader(const uint8_t* data, size_t size, TgaHeader& header) {
  if (size < kHeaderSize) return "file is shorter than a header";
  const uint8_t type = data[2];
  if (data[1] != 0) return "colour-mapped images are not supported";
  if (type != kUncompressed && type != kRunLength) return "not a true-colour image";
  if (ReadU16(data + 5) != 0) return "colour map length without a colour map";
  const uint8_t depth = data[16];
  const uint8_t descriptor = data[17];
  const int alpha_bits = descriptor & 0x0f;
  if (depth != 24 && depth != 32) return "pixel depth is not 24 or 32 bits";
  if (depth == 24 && alpha_bits != 0) return "24-bit image declares alpha bits";
  if (depth == 32 && alpha_bits != 0 && alpha_bits != 8) return "alpha is not 8 bits";
  if ((descriptor & 0xc0) != 0) return "interleaved images are not supported";
  header.width = ReadU16(data + 12);
  header.height = ReadU16(data + 14);
  std::string size_error = CheckImageSize(header.width, header.height);
  if (!size_error.empty()) return size_error;
  header.pixel_offset = kHeaderSize + data[0];
  header.bytes_per_pixel = depth / 8;
  header.run_length = type == kRunLength;
  // A 32-bit image that declares no alpha bits keeps padding there, not coverage.
  header.has_alpha = alpha_bits == 8;
  header.top_down = (descriptor & 0x20) != 0;
  header.right_to_left = (descriptor & 0x10) != 0;
  return {};
}

// The fewest bytes that can hold the pixels: raw ones, or the longest runs.
size_t MinimumPixelBytes(const TgaHeader& header) {
  const size_t pixels = size_t(header.width) * size_t(header.height);
  const size_t bpp = size_t(header.bytes_per_pixel);
  if (!header.run_length) return pixels * bpp;
  return (pixels + 127) / 128 * (1 + bpp);
}

// Pixels come in file order; this puts the n-th one where the origin says it belongs.
class PixelPlacer {
 public:
  PixelPlacer(const TgaHeader& header, Image& image) : header_(header), image_(image) {}

  void Put(const uint8_t* bgra, size_t index) {
    const size_t width = size_t(header_.width);
    size_t row = index / width;
    size_t column = index % width;
    if (!header_.top_down) row = size_t(header_.height) - 1 - row;
    if (header_.right_to_left) column = width - 1 - column;
    uint8_t* out = &image_.rgba[(row * width + column) * 4];
    out[0] = bgra[2];
    out[1] = bgra[1];
    out[2] = bgra[0];
    out[3] = header_.has_alpha ? bgra[3] : 255;
  }

 private:
  const TgaHeader& header_;
  Image& image_;
};

void ReadRaw(const uint8_t* pixels, const TgaHeader& header, PixelPlacer& placer) {
  const size_t count = size_t(header.width) * size_t(header.height);
  for (size_t i = 0; i < count; ++i) placer.Put(pixels + i * header.bytes_per_pixel, i);
}

std::string ReadRunLength(const uint8_t* pixels, size_t available, const TgaHeader& header,
                          PixelPlacer& placer) {
  const size_t count = size_t(header.width) * size_t(header.height);
  const size_t bpp = size_t(header.bytes_per_pixel);
  size_t pos = 0;
  size_t done = 0;
  while (done < count) {
    if (pos >= available) return "run-length data is truncated";
    const uint8_t packet = pixels[pos++];
    const size_t length = size_t(packet & 0x7f) + 1;
    const bool repeated = (packet & 0x80) != 0;
    if (length > count - done) return "run-length packet runs past the end of the image";
    const size_t packet_bytes = repeated ? bpp : length * bpp;
    if (packet_bytes > available - pos) return "run-length data is truncated";
    for (size_t i = 0; i < length; ++i) {
      placer.Put(pixels + pos + (repeated ? 0 : i * bpp), done + i);
    }
    pos += packet_bytes;
    done += length;
  }
  return {};
}

}  // namespace

bool LooksLikeTga(const uint8_t* data, size_t size) {
  TgaHeader header;
  if (!ParseHeader(data, size, header).empty()) return false;
  return header.pixel_offset <= size && size - header.pixel_offset >= MinimumPixelBytes(header);
}

ImageResult ReadTga(const uint8_t* data, size_t size) {
  TgaHeader header;
  std::string error = ParseHeader(data, size, header);
  if (!error.empty()) return Failed("TGA: " + error, ImageFormat::kTga);
  if (header.pixel_offset > size || size - header.pixel_offset < MinimumPixelBytes(header)) {
    return Failed("TGA: pixel data is truncated", ImageFormat::kTga);
  }
  Image image;
  image.width = header.width;
  image.height = header.height;
  image.rgba.resize(size_t(header.width) * size_t(header.height) * 4);
  PixelPlacer placer(header, image);
  const uint8_t* pixels = data + header.pixel_offset;
  if (!header.run_length) {
    ReadRaw(pixels, header, placer);
  } else {
    error = ReadRunLength(pixels, size - header.pixel_offset, header, placer);
    if (!error.empty()) return Failed("TGA: " + error, ImageFormat::kTga);
  }
  return Decoded(std::move(image), ImageFormat::kTga);
}

}  // namespace oxlip::image

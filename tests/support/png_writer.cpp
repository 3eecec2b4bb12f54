#include "support/png_writer.h"

#include <png.h>

#include <stdexcept>

namespace oxlip::test {
namespace {

void AppendPng(png_structp png, png_bytep data, size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}

void SetPalette(png_structp png, png_infop info, const std::vector<std::array<uint8_t, 4>>& rgba) {
  std::vector<png_color> colours;
  std::vector<png_byte> alphas;
  for (const auto& c : rgba) {
    colours.push_back({c[0], c[1], c[2]});
    alphas.push_back(c[3]);
  }
  png_set_PLTE(png, info, colours.data(), int(colours.size()));
  png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
}

}  // namespace

std::string EncodePng(const PngShape& shape, const std::vector<uint8_t>& rows) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng cannot write the test image");
  png_set_write_fn(png, &out, AppendPng, nullptr);
  png_set_IHDR(png, info, shape.width, shape.height, shape.bit_depth, shape.color_type,
               shape.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!shape.palette.empty()) SetPalette(png, info, shape.palette);
  png_write_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  std::vector<png_bytep> pointers;
  for (int y = 0; y < shape.height; ++y) {
    pointers.push_back(const_cast<png_bytep>(&rows.at(y * stride)));
  }
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string EncodePngRgba(const image::Image& image) {
  return EncodePng({image.width, image.height, PNG_COLOR_TYPE_RGBA, 8, false, {}}, image.rgba);
}

}  // namespace oxlip::test

#include "image/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace oxlip::image {
namespace {

constexpr size_t kSignatureSize = 8;

// Shared with libpng's callbacks; libpng's errors unwind with longjmp, so nothing here may
// need a destructor run between setjmp and the jump.
struct PngSource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  char error[200] = {};
};

void ReadBytes(png_structp png, png_bytep out, size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->pos) png_error(png, "image data is truncated");
  std::memcpy(out, source->data + source->pos, count);
  source->pos += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::strncpy(source->error, message, sizeof source->error - 1);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit RGBA whatever the file holds; false after a libpng error.
bool ReadHeader(png_structp png, png_infop info, png_uint_32& width, png_uint_32& height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  width = png_get_image_width(png, info);
  height = png_get_image_height(png, info);
  return true;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  if (png_get_rowbytes(png, info) != png_get_image_width(png, info) * 4) {
    png_error(png, "unexpected row layout");
  }
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

ImageResult Decode(png_structp png, png_infop info, PngSource& source) {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  if (!ReadHeader(png, info, width, height)) {
    return Failed(std::string("PNG: ") + source.error, ImageFormat::kPng);
  }
  std::string size_error = CheckImageSize(width, height);
  if (!size_error.empty()) return Failed("PNG: " + size_error, ImageFormat::kPng);
  Image image;
  image.width = int(width);
  image.height = int(height);
  image.rgba.resize(size_t(width) * height * 4);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = &image.rgba[size_t(y) * width * 4];
  if (!ReadRows(png, info, rows.data())) {
    return Failed(std::string("PNG: ") + source.error, ImageFormat::kPng);
  }
  return Decoded(std::move(image), ImageFormat::kPng);
}

}  // namespace

bool LooksLikePng(const uint8_t* data, size_t size) {
  return size >= kSignatureSize && png_sig_cmp(data, 0, kSignatureSize) == 0;
}

ImageResult ReadPng(const uint8_t* data, size_t size) {
  if (!LooksLikePng(data, size)) return Failed("PNG: no PNG signature", ImageFormat::kPng);
  PngSource source;
  source.data = data;
  source.size = size;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return Failed("PNG: out of memory", ImageFormat::kPng);
  }
  png_set_read_fn(png, &source, ReadBytes);
  ImageResult result = Decode(png, info, source);
  png_destroy_read_struct(&png, &info, nullptr);
  return result;
}

}  // namespace oxlip::image

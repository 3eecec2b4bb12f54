#include "support/icon_images.h"

#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "support/png_writer.h"
#include "support/temp_folder.h"

namespace oxlip::test {

void WritePng(const std::string& path, int width, int height) {
  image::Image image{width, height, std::vector<uint8_t>(std::size_t(width) * height * 4, 0x80)};
  WriteFile(path, EncodePngRgba(image));
}

void WriteJpeg(const std::string& path, int width, int height) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3, 0x40);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(out);
}

// 24-bit bottom-up BMP with rows padded to four bytes.
void WriteBmp(const std::string& path, int width, int height) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixels = stride * static_cast<uint32_t>(height);
  std::string out = "BM";
  // File header, then the info header; planes (1) and bits per pixel (24) share a word.
  const uint32_t fields[] = {
      54 + pixels, 0, 54, 40, uint32_t(width), uint32_t(height), 1 | 24 << 16, 0, pixels,
      0,           0, 0,  0};
  for (uint32_t value : fields)
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  out.append(pixels, '\x20');
  WriteFile(path, out);
}

}  // namespace oxlip::test

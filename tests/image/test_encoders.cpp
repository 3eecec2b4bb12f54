#include "test_encoders.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <openjpeg.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "support/temp_folder.h"

namespace oxlip::test {

Rgba PixelAt(const image::Image& image, int x, int y) {
  const uint8_t* p = &image.rgba.at((size_t(y) * image.width + x) * 4);
  return {p[0], p[1], p[2], p[3]};
}

image::Image Pattern(int width, int height, bool with_alpha) {
  image::Image image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.rgba.push_back(uint8_t(40 * x + 7));
      image.rgba.push_back(uint8_t(60 * y + 11));
      image.rgba.push_back(uint8_t(255 - 17 * (x + y)));
      image.rgba.push_back(with_alpha ? uint8_t(255 - 30 * x - 5 * y) : 255);
    }
  }
  return image;
}

image::Image Quadrants() {
  const Rgba colours[4] = {
      {200, 30, 40, 255}, {20, 180, 60, 255}, {30, 40, 220, 255}, {240, 240, 20, 255}};
  image::Image image{16, 16, {}};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Rgba& c = colours[(y / 8) * 2 + x / 8];
      image.rgba.insert(image.rgba.end(), c.begin(), c.end());
    }
  }
  return image;
}

void ExpectClose(const image::Image& actual, const image::Image& expected, int tolerance) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  ASSERT_EQ(actual.rgba.size(), expected.rgba.size());
  for (size_t i = 0; i < actual.rgba.size(); ++i) {
    ASSERT_LE(std::abs(actual.rgba[i] - expected.rgba[i]), tolerance) << "byte " << i;
  }
}

std::string EncodeJpeg(const image::Image& image, bool greyscale) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = image.width;
  cinfo.image_height = image.height;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_RGBA;
  jpeg_set_defaults(&cinfo);
  if (greyscale) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
  for (int c = 0; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&image.rgba[size_t(cinfo.next_scanline) * image.width * 4]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string out(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return out;
}

std::string EncodeJpeg2000(const image::Image& image, int components, bool codestream,
                           const std::string& path) {
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.tcp_numlayers = 1;
  parameters.tcp_rates[0] = 0;  // lossless
  parameters.cp_disto_alloc = 1;
  parameters.numresolution = 1;  // the test images are smaller than a second level
  std::vector<opj_image_cmptparm_t> params(components);
  for (opj_image_cmptparm_t& p : params) {
    p = {};
    p.dx = p.dy = 1;
    p.w = image.width;
    p.h = image.height;
    p.prec = 8;
  }
  opj_image_t* out = opj_image_create(components, params.data(),
                                      components == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB);
  out->x1 = image.width;
  out->y1 = image.height;
  if (components == 4) out->comps[3].alpha = 1;
  for (size_t i = 0; i < size_t(image.width) * image.height; ++i) {
    for (int c = 0; c < components; ++c) out->comps[c].data[i] = image.rgba[i * 4 + c];
  }
  opj_codec_t* codec = opj_create_compress(codestream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2);
  opj_setup_encoder(codec, &parameters, out);
  opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
  bool ok = opj_start_compress(codec, out, stream) && opj_encode(codec, stream) &&
            opj_end_compress(codec, stream);
  opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  opj_image_destroy(out);
  if (!ok) throw std::runtime_error("OpenJPEG cannot write the test image");
  return ReadFile(path);
}

Bytes& Bytes::U8(unsigned v) {
  data_.push_back(char(v & 0xff));
  return *this;
}
Bytes& Bytes::U16(unsigned v) { return U8(v).U8(v >> 8); }
Bytes& Bytes::U32(uint32_t v) { return U16(v & 0xffff).U16(v >> 16); }
Bytes& Bytes::Text(const std::string& text) {
  data_ += text;
  return *this;
}
Bytes& Bytes::Repeat(unsigned v, size_t count) {
  data_.append(count, char(v));
  return *this;
}
void Bytes::PatchU32(size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) data_.at(at + i) = char((v >> (8 * i)) & 0xff);
}

std::string EncodeTga(const image::Image& image, int depth, bool top_down) {
  Bytes b;
  b.U8(3).U8(0).U8(2).Repeat(0, 9).U16(image.width).U16(image.height).U8(depth);
  b.U8((depth == 32 ? 8 : 0) | (top_down ? 0x20 : 0)).Text("id!");
  for (int row = 0; row < image.height; ++row) {
    const int y = top_down ? row : image.height - 1 - row;
    for (int x = 0; x < image.width; ++x) {
      const Rgba c = PixelAt(image, x, y);
      b.U8(c[2]).U8(c[1]).U8(c[0]);
      if (depth == 32) b.U8(c[3]);
    }
  }
  return b.str();
}

std::string EncodeBmp(const image::Image& image) {
  Bytes b;
  b.Text("BM").U32(0).U32(0).U32(54).U32(40).U32(image.width).U32(image.height);
  b.U16(1).U16(24).U32(0).Repeat(0, 20);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgba c = PixelAt(image, x, y);
      b.U8(c[2]).U8(c[1]).U8(c[0]);
    }
    b.Repeat(0, (4 - image.width * 3 % 4) % 4);
  }
  b.PatchU32(2, uint32_t(b.size()));
  return b.str();
}

image::ImageResult Read(image::ImageResult (*reader)(const uint8_t*, size_t),
                        const std::string& bytes) {
  return reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace oxlip::test

#include "test_encoders.h"

#include <jpeglib.h>
#include <openjpeg.h>
#include <png.h>

#include <cstdio>
#include <stdexcept>

#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

void AppendPng(png_structp png, png_bytep data, size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}

void SetPalette(png_structp png, png_infop info, const std::vector<Rgba>& palette) {
  std::vector<png_color> colours;
  std::vector<png_byte> alphas;
  for (const Rgba& c : palette) {
    colours.push_back({c[0], c[1], c[2]});
    alphas.push_back(c[3]);
  }
  png_set_PLTE(png, info, colours.data(), int(colours.size()));
  png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
}

}  // namespace

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

image::ImageResult Read(image::ImageResult (*reader)(const uint8_t*, size_t),
                        const std::string& bytes) {
  return reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace oxlip::test

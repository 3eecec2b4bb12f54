// Every reader in one table: what each format's files decode to, through the loader as well,
// and hostile or damaged ones refused with the reason under the format's name; the icons'
// scaling.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <openjpeg.h>
#include <png.h>
#include <zlib.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "image/bmp_reader.h"
#include "image/image_loader.h"
#include "image/image_scale.h"
#include "image/jp2_reader.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/tga_reader.h"
#include "support/png_writer.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

using image::Image;
using image::ImageFormat;

using Rgba = std::array<uint8_t, 4>;

// Little-endian bytes appended one field at a time.
struct Bytes {
  Bytes& Text(const std::string& text) {
    data += text;
    return *this;
  }
  Bytes& Repeat(unsigned v, size_t count) { return Text(std::string(count, char(v))); }
  Bytes& U8(unsigned v) { return Repeat(v, 1); }
  Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v & 0xffff).U16(v >> 16); }
  void PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) data.at(at + i) = char(v >> (8 * i));
  }
  const std::string& str() const { return data; }
  std::string data;
};

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

void ExpectClose(const image::Image& actual, const image::Image& expected, int tolerance) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  ASSERT_EQ(actual.rgba.size(), expected.rgba.size());
  for (size_t i = 0; i < actual.rgba.size(); ++i) {
    ASSERT_LE(std::abs(actual.rgba[i] - expected.rgba[i]), tolerance) << "byte " << i;
  }
}

std::string EncodeJpeg(const image::Image& image) {
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

image::ImageResult Read(image::ImageResult (*reader)(const uint8_t*, size_t),
                        const std::string& bytes) {
  return reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

struct Format {
  const char* name;  // as the errors say it
  ImageFormat format;
  image::ImageResult (*read)(const uint8_t*, size_t);
};
const Format kJpeg{"JPEG", ImageFormat::kJpeg, image::ReadJpeg};
const Format kJp2{"JPEG 2000", ImageFormat::kJpeg2000, image::ReadJp2};
const Format kPng{"PNG", ImageFormat::kPng, image::ReadPng};
const Format kTga{"TGA", ImageFormat::kTga, image::ReadTga};
const Format kBmp{"BMP", ImageFormat::kBmp, image::ReadBmp};

struct Case {
  const Format& format;
  const char* what;
  std::string bytes;
  Image expected;  // no pixels (kRefused): the file is refused
  int tolerance = 0;
  const char* error = "";  // a refusal's reason holds this
};

const Image kRefused;

Image Pixels(int width, int height, const std::vector<Rgba>& pixels) {
  Image image{width, height, {}};
  for (const Rgba& c : pixels) image.rgba.insert(image.rgba.end(), c.begin(), c.end());
  return image;
}

Image Recoloured(Image image, Rgba (*colour)(Rgba)) {
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    Rgba c = colour({image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]});
    std::copy(c.begin(), c.end(), image.rgba.begin() + i);
  }
  return image;
}
Rgba Opaque(Rgba c) { return {c[0], c[1], c[2], 255}; }
Rgba FirstAsGrey(Rgba c) { return {c[0], c[0], c[0], 255}; }

std::string Patched(std::string bytes, size_t at, const std::string& with) {
  return bytes.replace(at, with.size(), with);
}
std::string Cut(const std::string& bytes, size_t size) { return bytes.substr(0, size); }

// A PNG's width and height at bytes 16 and 20, the IHDR checksum after them.
std::string PngSized(std::string png, uint32_t width, uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = char(width >> (24 - 8 * i));
    png[20 + i] = char(height >> (24 - 8 * i));
  }
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
  return png;
}

Bytes TgaHeader(uint8_t type, int width, int height, int depth, uint8_t descriptor) {
  Bytes b;
  b.U8(3).U8(0).U8(type).Repeat(0, 5).U16(0).U16(0).U16(width).U16(height);
  b.U8(depth).U8(descriptor).Text("id!");  // an image id field precedes the pixels
  return b;
}
constexpr uint8_t kTopLeft = 0x20, kRightToLeft = 0x10;

// Run-length packets that cross rows: four red (a row and one pixel), then blue and green raw.
std::string TgaRuns(int depth) {
  Bytes b = TgaHeader(10, 3, 2, depth, (depth == 32 ? 8 : 0) | kTopLeft);
  b.U8(0x80 | 3).U8(20).U8(10).U8(200).Repeat(128, depth == 32).U8(1);
  b.U8(250).U8(6).U8(5).Repeat(255, depth == 32).U8(3).U8(220).U8(1).Repeat(64, depth == 32);
  return b.str();
}

struct BmpShape {
  int32_t width, height;
  int bits = 24;
  uint32_t compression = 0, header_size = 40;
  std::vector<Rgba> palette = {};
  std::vector<uint32_t> masks = {};  // after a 40-byte header, inside a V4/V5 one
};

std::string Bmp(const BmpShape& s, const std::string& rows) {
  Bytes b;
  b.Text("BM").U32(0).U32(0).U32(0);
  b.U32(s.header_size).U32(uint32_t(s.width)).U32(uint32_t(s.height)).U16(1).U16(s.bits);
  b.U32(s.compression).U32(0).U32(2835).U32(2835).U32(uint32_t(s.palette.size())).U32(0);
  if (s.header_size >= 108) {
    for (size_t i = 0; i < 4; ++i) b.U32(i < s.masks.size() ? s.masks[i] : 0);
    b.Repeat(0, s.header_size - 56);
  } else {
    for (uint32_t m : s.masks) b.U32(m);
  }
  for (const Rgba& c : s.palette) b.U8(c[2]).U8(c[1]).U8(c[0]).U8(0);
  b.PatchU32(10, uint32_t(b.data.size()));
  b.Text(rows);
  b.PatchU32(2, uint32_t(b.data.size()));
  return b.str();
}

// Uncompressed pixels as BGR(A), bottom row first unless `top_down`, rows padded to `align`.
std::string PixelRows(const Image& image, bool alpha, bool top_down, int align) {
  Bytes b;
  for (int row = 0; row < image.height; ++row) {
    const int y = top_down ? row : image.height - 1 - row;
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.rgba[(size_t(y) * image.width + x) * 4];
      b.U8(p[2]).U8(p[1]).U8(p[0]).Repeat(p[3], alpha);
    }
    b.Repeat(0, (align - image.width * (alpha ? 4 : 3) % align) % align);
  }
  return b.str();
}
std::string Tga(const Image& image, int depth, bool top_down) {
  const uint8_t descriptor = (depth == 32 ? 8 : 0) | (top_down ? kTopLeft : 0);
  Bytes b = TgaHeader(2, image.width, image.height, depth, descriptor);
  return b.Text(PixelRows(image, depth == 32, top_down, 1)).str();
}

class ImageReaders : public InTempFolder {};

TEST_F(ImageReaders, DecodeWhatTheyShouldAndRefuseTheRest) {
  const Rgba k{0, 0, 0, 255}, r{255, 0, 0, 255}, g{0, 255, 0, 255}, b{0, 0, 255, 255};
  const std::vector<Rgba> palette = {k, r, g, b},
                          translucent = {k, {40, 50, 60, 0}, {7, 8, 9, 128}, b};
  const Image rgba = Pattern(32, 30, true), rgb = Pattern(9, 9, false);
  const std::string jpeg = EncodeJpeg(Pattern(64, 64, false));
  const std::string jp2 = EncodeJpeg2000(rgba, 4, false, dir() + "a.jp2");
  const std::string j2k = EncodeJpeg2000(rgba, 4, true, dir() + "a.j2k");
  const std::string png = EncodePngRgba(rgba), bmp = Bmp({9, 9}, PixelRows(rgb, false, false, 4));
  const std::string tga = Tga(Pattern(4, 4, false), 24, false);
  std::vector<uint8_t> rgb_rows;
  for (size_t i = 0; i < rgb.rgba.size(); ++i)
    if (i % 4 != 3) rgb_rows.push_back(rgb.rgba[i]);
  const std::string u32 = Bytes().U32(0x80112233).str(), few(64, '\0');
  const std::string siz_100000 =
      std::string("\0\x01\x86\xa0", 4) + std::string("\0\x01\x86\xa0", 4);
  const std::string ff_ff_ff_ff(4, '\xff');
  const Rgba red{200, 10, 20, 128}, blue{5, 6, 250, 255}, green{1, 220, 3, 64};
  const Image runs = Pixels(3, 2, {red, red, red, red, blue, green});

  const Case cases[] = {
      {kJpeg, "colour", EncodeJpeg(Pattern(6, 4, false)), Pattern(6, 4, false), 4},
      {kJpeg, "cut inside the scan", Cut(jpeg, jpeg.size() / 2), {}},
      {kJpeg, "cut in the header", Cut(jpeg, 40), {}},
      {kJpeg, "65535 x 65535", Patched(jpeg, jpeg.find("\xff\xc0") + 5, ff_ff_ff_ff), {}},
      {kJp2, "jp2 RGBA", jp2, rgba},
      {kJp2, "codestream RGBA", j2k, rgba},
      {kJp2, "grey", EncodeJpeg2000(rgba, 1, false, dir() + "g.jp2"),
       Recoloured(rgba, FirstAsGrey)},
      {kJp2, "RGB", EncodeJpeg2000(rgba, 3, true, dir() + "c.j2k"), Recoloured(rgba, Opaque)},
      {kJp2, "cut", Cut(jp2, jp2.size() / 2), {}},
      {kJp2, "cut in the header", Cut(j2k, 40), {}},
      {kJp2, "100000 x 100000", Patched(j2k, 8, siz_100000), {}},
      {kPng, "RGBA", png, rgba},
      {kPng, "2-bit palette with alpha",
       EncodePng({4, 1, PNG_COLOR_TYPE_PALETTE, 2, false, translucent}, {0b00011011}),
       Pixels(4, 1, translucent)},
      {kPng, "16-bit grey",
       EncodePng({3, 1, PNG_COLOR_TYPE_GRAY, 16, false, {}}, {0, 0, 0x80, 0x80, 255, 255}),
       Pixels(3, 1, {k, {128, 128, 128, 255}, {255, 255, 255, 255}})},
      {kPng, "interlaced", EncodePng({9, 9, PNG_COLOR_TYPE_RGB, 8, true, {}}, rgb_rows), rgb},
      {kPng, "cut", Cut(png, png.size() / 2), {}},
      {kPng, "cut in the header", Cut(png, 40), {}},
      {kPng, "1000000 wide", PngSized(png, 1000000, 30), {}},
      {kPng, "16384 x 16384", PngSized(png, 16384, 16384), {}},
      {kTga, "24 bits bottom-up", Tga(rgb, 24, false), rgb},
      {kTga, "24 bits top-down", Tga(rgb, 24, true), rgb},
      {kTga, "32 bits bottom-up", Tga(rgba, 32, false), rgba},
      {kTga, "32 bits top-down", Tga(rgba, 32, true), rgba},
      {kTga, "24-bit runs", TgaRuns(24), Recoloured(runs, Opaque)},
      {kTga, "32-bit runs", TgaRuns(32), runs},
      {kTga, "32 bits without alpha bits, right to left",
       TgaHeader(2, 2, 1, 32, kTopLeft | kRightToLeft).U8(1).U8(2).U8(3).U8(0).U32(0x060504).str(),
       Pixels(2, 1, {{6, 5, 4, 255}, {3, 2, 1, 255}})},
      {kTga, "a run past the end",
       TgaHeader(10, 2, 2, 24, 0).U8(0x80 | 4).U8(1).U8(2).U8(3).Repeat(0, 40).str(), kRefused, 0,
       "past the end"},
      {kTga, "a cut run",
       TgaHeader(10, 200, 1, 24, 0).U8(0xff).U8(1).U8(2).U8(3).U8(0xff).U8(1).str(), kRefused},
      {kTga, "cut", Cut(tga, tga.size() - 1), {}},
      {kTga, "65535 x 65535", TgaHeader(10, 65535, 65535, 32, 8).U8(0xff).U32(0).str(), {}},
      {kTga, "no width", TgaHeader(2, 0, 5, 24, 0).Repeat(0, 64).str(), {}},
      {kTga, "three bytes", std::string("\0\0\2", 3), {}},
      {kTga, "a colour map", Patched(tga, 1, "\1"), {}},
      {kTga, "colour-mapped", Patched(tga, 2, "\1"), {}},
      {kTga, "greyscale", Patched(tga, 2, "\3"), {}},
      {kTga, "16 bits", Patched(tga, 16, "\x10"), {}},
      {kTga, "alpha bits on 24 bits", Patched(tga, 17, "\x08"), {}},
      {kTga, "interleaved rows", Patched(tga, 17, "\x40"), {}},
      {kBmp, "24 bits", bmp, rgb},
      {kBmp, "1 bit",
       Bmp({10, 1, 1, 0, 40, {k, r}}, Bytes().U8(0b10110000).U8(0b01000000).U16(0).str()),
       Pixels(10, 1, {r, k, r, r, k, k, k, k, k, r})},
      {kBmp, "4 bits, bottom row first",
       Bmp({3, 2, 4, 0, 40, palette}, Bytes().U32(0x1032).U32(0x2001).str()),
       Pixels(3, 2, {k, r, g, b, g, r})},
      {kBmp, "8 bits top-down", Bmp({4, -1, 8, 0, 40, palette}, std::string("\3\2\1\0", 4)),
       Pixels(4, 1, {b, g, r, k})},
      // Plain 32-bit pixels keep padding in the fourth byte, not alpha.
      {kBmp, "32 bits", Bmp({1, 1, 32}, u32), Pixels(1, 1, {{0x11, 0x22, 0x33, 255}})},
      {kBmp, "V5 header with alpha",
       Bmp({1, 1, 32, 3, 124, {}, {0xff00, 0xff0000, 0xff000000, 0xff}},
           Bytes().U32(0x10203040).str()),
       Pixels(1, 1, {{0x30, 0x20, 0x10, 0x40}})},
      {kBmp, "masks after the header", Bmp({1, 1, 32, 3, 40, {}, {0xff, 0xff00, 0xff0000}}, u32),
       Pixels(1, 1, {{0x33, 0x22, 0x11, 255}})},
      {kBmp, "16 bits",
       Bmp({2, 1, 16, 3, 40, {}, {0xf800, 0x07e0, 0x001f}}, Bytes().U16(0xf800).U16(0x07ff).str()),
       Pixels(2, 1, {r, {0, 255, 255, 255}})},
      {kBmp, "palette index 5 of 2", Bmp({2, 1, 8, 0, 40, {k, r}}, std::string("\1\5\0\0", 4)),
       kRefused, 0, "palette index out of range"},
      {kBmp, "cut", Cut(bmp, bmp.size() - 1), {}, 0, "pixel data is truncated"},
      {kBmp, "cut in the header", Cut(bmp, 30), {}},
      {kBmp, "100000 wide", Bmp({100000, 1}, few), {}},
      {kBmp, "16384 x 16384", Bmp({16384, 16384, 32}, few), {}},
      {kBmp, "negative width", Bmp({-3, 4}, few), {}},
      {kBmp, "lowest height", Bmp({3, INT_MIN}, few), {}},
      {kBmp, "RLE8", Bmp({1, 1, 8, 1, 40, {k, r}}, few), {}},
      {kBmp, "overlapping masks", Bmp({1, 1, 32, 3, 40, {}, {0xf0f, 0xf0, 0}}, few), {}},
      {kBmp, "unknown header size", Bmp({1, 1, 24, 0, 64}, few), {}},
      // A 52-byte header holds three masks even when an alpha mask is asked for.
      {kBmp, "alpha mask past a 52-byte header",
       Bmp({1, 1, 32, 6, 52, {}, {0xff0000, 0xff00, 0xff}}, ""), kRefused},
      {kBmp, "pixels past the end", Patched(bmp, 10, std::string("\xff\0\0\x7f", 4)), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format.name << ": " << c.what);
    image::ImageResult result = Read(c.format.read, c.bytes);
    image::ImageResult loaded = Read(image::LoadImage, c.bytes);
    if (c.expected.width == 0) {
      EXPECT_FALSE(result);
      EXPECT_EQ(result.error.rfind(std::string(c.format.name) + ": ", 0), 0u) << result.error;
      EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
      EXPECT_FALSE(loaded);
      continue;
    }
    ASSERT_TRUE(result) << result.error;
    ExpectClose(*result.image, c.expected, c.tolerance);
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_EQ(loaded.format, c.format.format);
    EXPECT_EQ(loaded.image->rgba, result.image->rgba);
  }
}

// The name says nothing: whatever the format, the file is found by its bytes.
TEST_F(ImageReaders, TheLoaderReadsFilesAndSaysWhyItCannot) {
  WriteFile(dir() + "icon.bmp", EncodePngRgba(Pattern(8, 6, true)));
  std::optional<Image> loaded = image::LoadImageFile(dir() + "icon.bmp");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->rgba, Pattern(8, 6, true).rgba);
  EXPECT_EQ(image::LoadImageResult(dir() + "missing.png").error,
            "LoadImage:Can't read " + dir() + "missing.png");
  EXPECT_FALSE(image::LoadImageFile(dir() + "missing.png"));
  EXPECT_EQ(Read(image::LoadImage, "this is not an image at all, just some text").error,
            "LoadImage:Unknown image format");
  EXPECT_FALSE(Read(image::LoadImage, ""));
  const std::string png = EncodePngRgba(Pattern(8, 8, true));
  image::ImageResult broken = Read(image::LoadImage, png.substr(0, png.size() - 30));
  EXPECT_EQ(broken.format, ImageFormat::kPng);
  EXPECT_EQ(broken.error.rfind("LoadImage:PNG: ", 0), 0u) << broken.error;
}

// Every pixel a different colour.
image::Image Numbered(int width, int height) {
  image::Image image{width, height, {}};
  for (int i = 0; i < width * height; ++i)
    image.rgba.insert(image.rgba.end(), {uint8_t(i), uint8_t(i >> 8), 7, 255});
  return image;
}

uint8_t PixelNumber(const image::Image& image, int x, int y) {
  return image.rgba.at((size_t(y) * image.width + x) * 4);
}

TEST(ImageScale, StretchesByNearestPixelAndNothingToScaleGivesNothing) {
  const image::Image icon = image::ScaleImage(Numbered(2, 2), image::kIconSide, image::kIconSide);
  ASSERT_EQ(icon.width, 48);
  ASSERT_EQ(icon.height, 48);
  const int icon_cases[][3] = {{0, 0, 0}, {23, 24, 2}, {24, 23, 1}, {47, 47, 3}};
  for (const auto& [x, y, n] : icon_cases) EXPECT_EQ(PixelNumber(icon, x, y), n) << x << "," << y;
  const image::Image small = image::ScaleImage(Numbered(6, 96), 3, 48);
  EXPECT_EQ(PixelNumber(small, 0, 0), 1 * 6 + 1);
  EXPECT_EQ(PixelNumber(small, 2, 47), uint8_t(95 * 6 + 5));

  const image::Image source = Numbered(3, 3);
  EXPECT_TRUE(image::ScaleImage(source, 0, 48).rgba.empty());
  EXPECT_TRUE(image::ScaleImage(source, 48, -1).rgba.empty());
  EXPECT_TRUE(image::ScaleImage(image::Image{}, 48, 48).rgba.empty());
  EXPECT_TRUE(image::ScaleImage(image::Image{5, 5, {1, 2, 3}}, 48, 48).rgba.empty());
}

}  // namespace
}  // namespace oxlip::test

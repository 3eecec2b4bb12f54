#include "image/jp2_pixels.h"

#include <algorithm>
#include <cstdint>

namespace oxlip::image {
namespace {

std::string CheckComponent(const opj_image_comp_t& comp) {
  if (!comp.data || comp.w == 0 || comp.h == 0) return "component has no samples";
  if (comp.dx == 0 || comp.dy == 0) return "component has no sampling step";
  if (comp.prec == 0 || comp.prec > 31) return "unsupported sample precision";
  return {};
}

// The sample of a component that covers the image position (x, y), scaled to 8 bits.
uint8_t SampleAt(const opj_image_comp_t& comp, int64_t x, int64_t y) {
  const int64_t column = std::clamp<int64_t>(x / comp.dx - comp.x0, 0, int64_t(comp.w) - 1);
  const int64_t row = std::clamp<int64_t>(y / comp.dy - comp.y0, 0, int64_t(comp.h) - 1);
  int64_t value = comp.data[row * comp.w + column];
  if (comp.sgnd) value += int64_t{1} << (comp.prec - 1);
  const int64_t top = (int64_t{1} << comp.prec) - 1;
  value = std::clamp<int64_t>(value, 0, top);
  if (comp.prec >= 8) return uint8_t(value >> (comp.prec - 8));
  return uint8_t(value * 255 / top);
}

uint8_t Clamp8(double value) { return uint8_t(std::clamp(value + 0.5, 0.0, 255.0)); }

void YccToRgb(uint8_t* px) {
  const double y = px[0];
  const double cb = px[1] - 128.0;
  const double cr = px[2] - 128.0;
  px[0] = Clamp8(y + 1.402 * cr);
  px[1] = Clamp8(y - 0.344136 * cb - 0.714136 * cr);
  px[2] = Clamp8(y + 1.772 * cb);
}

void ConvertPixel(const opj_image_t& decoded, int64_t x, int64_t y, uint8_t* px) {
  const opj_image_comp_t* comps = decoded.comps;
  if (decoded.numcomps <= 2) {
    px[0] = px[1] = px[2] = SampleAt(comps[0], x, y);
    px[3] = decoded.numcomps == 2 ? SampleAt(comps[1], x, y) : 255;
    return;
  }
  for (int c = 0; c < 3; ++c) px[c] = SampleAt(comps[c], x, y);
  px[3] = decoded.numcomps == 4 ? SampleAt(comps[3], x, y) : 255;
  if (decoded.color_space == OPJ_CLRSPC_SYCC) YccToRgb(px);
}

}  // namespace

std::string ConvertJp2Pixels(const opj_image_t& decoded, Image& image) {
  if (decoded.numcomps == 0 || decoded.numcomps > 4) return "unsupported number of components";
  if (decoded.color_space == OPJ_CLRSPC_CMYK || decoded.color_space == OPJ_CLRSPC_EYCC) {
    return "unsupported colour space";
  }
  for (OPJ_UINT32 c = 0; c < decoded.numcomps; ++c) {
    std::string error = CheckComponent(decoded.comps[c]);
    if (!error.empty()) return error;
  }
  image.width = int(decoded.x1 - decoded.x0);
  image.height = int(decoded.y1 - decoded.y0);
  image.rgba.resize(size_t(image.width) * size_t(image.height) * 4);
  uint8_t* px = image.rgba.data();
  for (int64_t y = decoded.y0; y < int64_t(decoded.y1); ++y) {
    for (int64_t x = decoded.x0; x < int64_t(decoded.x1); ++x, px += 4) {
      ConvertPixel(decoded, x, y, px);
    }
  }
  return {};
}

}  // namespace oxlip::image

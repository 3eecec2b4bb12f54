#pragma once
// OpenJPEG's decoded components (any precision, sign and subsampling) as 8-bit RGBA.
#include <openjpeg.h>

#include <string>

#include "image/image.h"

namespace oxlip::image {

// Empty on success. One or two components are grey (and alpha), three or four RGB(A);
// sYCC is converted to RGB.
std::string ConvertJp2Pixels(const opj_image_t& decoded, Image& image);

}  // namespace oxlip::image

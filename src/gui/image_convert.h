#pragma once
// Decoded images as Qt images, and instance icons at their list size.
#include <QImage>

#include "image/image.h"

namespace oxlip::gui {

inline constexpr int kInstanceIconSize = 48;

QImage ToQImage(const image::Image& image);
// The image as an instance icon: drawn stretched onto a new 48 by 48 image when its size
// differs.
QImage InstanceIconImage(const image::Image& image);

}  // namespace oxlip::gui

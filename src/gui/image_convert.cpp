#include "gui/image_convert.h"

#include <QPainter>

namespace oxlip::gui {

QImage ToQImage(const image::Image& image) {
  QImage view(image.rgba.data(), image.width, image.height, image.width * 4,
              QImage::Format_RGBA8888);
  return view.copy();  // the decoded pixels may go before the QImage does
}

QImage InstanceIconImage(const image::Image& image) {
  QImage source = ToQImage(image);
  if (source.width() == kInstanceIconSize && source.height() == kInstanceIconSize) return source;
  QImage icon(kInstanceIconSize, kInstanceIconSize, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(0, 0, kInstanceIconSize, kInstanceIconSize), source);
  return icon;
}

}  // namespace oxlip::gui

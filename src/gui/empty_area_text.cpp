#include "gui/empty_area_text.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace oxlip::gui {
namespace {

constexpr int kMargin = 24;
constexpr int kMaxTextWidth = 480;

}  // namespace

EmptyAreaText::EmptyAreaText(QAbstractItemView* view, std::function<QString()> text)
    : QObject(view), view_(view), text_(std::move(text)) {
  view->viewport()->installEventFilter(this);
}

// Drawn before the view paints: an empty view draws nothing over it.
bool EmptyAreaText::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Paint || watched != view_->viewport()) return false;
  if (view_->model() && view_->model()->rowCount() > 0) return false;
  QString text = text_();
  if (text.isEmpty()) return false;
  QWidget* area = view_->viewport();
  QRect box = area->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  if (box.width() > kMaxTextWidth) box.setLeft(box.left() + (box.width() - kMaxTextWidth) / 2);
  box.setWidth(std::min(box.width(), kMaxTextWidth));
  QPainter painter(area);
  painter.setPen(area->palette().color(QPalette::PlaceholderText));
  painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
  return false;
}

}  // namespace oxlip::gui

#include "gui/empty_area_click.h"

namespace oxlip::gui {

void ClearSelectionOnEmptyAreaPress(QAbstractItemView& view, const QMouseEvent& press) {
  if (view.indexAt(press.position().toPoint()).isValid()) return;
  view.clearSelection();
}

int RowAt(const QAbstractItemView& view, const QPoint& viewport_point) {
  QModelIndex index = view.indexAt(viewport_point);
  return index.isValid() ? index.row() : -1;
}

}  // namespace oxlip::gui

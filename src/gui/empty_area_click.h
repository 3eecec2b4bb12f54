#pragma once
// Clicks on the empty area of a list.
#include <QAbstractItemView>
#include <QMouseEvent>

namespace oxlip::gui {

// A press of any button on the empty area of a list clears its selection, as the desktop's
// list views do, so that a right click there offers the list's own menu again. Called by a
// view's mousePressEvent before the view handles the press.
void ClearSelectionOnEmptyAreaPress(QAbstractItemView& view, const QMouseEvent& press);

// The row under a point of the view's viewport, -1 on the empty area.
int RowAt(const QAbstractItemView& view, const QPoint& viewport_point);

}  // namespace oxlip::gui

#include "gui/report_list_view.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

#include "gui/drop_action.h"
#include "gui/empty_area_click.h"

namespace oxlip::gui {

ReportListView::ReportListView(QWidget* parent, const std::vector<std::pair<QString, int>>& columns)
    : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setAcceptDrops(true);
  setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const auto& column : columns) titles << column.first;
  setHeaderLabels(titles);
  header()->setStretchLastSection(false);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) setColumnWidth(i, columns[i].second);
}

void ReportListView::Fill(const std::vector<QStringList>& rows) {
  clear();
  QList<QTreeWidgetItem*> items;
  for (const QStringList& row : rows) items << new QTreeWidgetItem(row);
  addTopLevelItems(items);
}

int ReportListView::SelectedRow() const {
  QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

int ReportListView::RowAt(const QPoint& viewport_point) const {
  return gui::RowAt(*this, viewport_point);
}

void ReportListView::mousePressEvent(QMouseEvent* event) {
  ClearSelectionOnEmptyAreaPress(*this, *event);
  QTreeWidget::mousePressEvent(event);
}

void ReportListView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) AcceptAsCopy(*event);
}

void ReportListView::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) AcceptAsCopy(*event);
}

void ReportListView::dropEvent(QDropEvent* event) {
  QStringList names;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) names << url.toLocalFile();
  if (names.isEmpty() || !AcceptAsCopy(*event)) return;
  emit filesDropped(names.join('\n'));
}

}  // namespace oxlip::gui

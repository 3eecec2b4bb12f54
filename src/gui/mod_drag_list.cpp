#include "gui/mod_drag_list.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>

#include "gui/drop_action.h"

namespace oxlip::gui {
namespace {

// The column leaves room for the list's frame and a vertical scroll bar.
constexpr int kColumnInset = 30;

QStringList LocalFiles(const QMimeData* data) {
  QStringList names;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) names << url.toLocalFile();
  return names;
}

}  // namespace

ModDragList::ModDragList(QWidget* parent, const QString& title, app::ModListSide side,
                         QByteArray owner_token)
    : QTreeWidget(parent), side_(side), owner_token_(std::move(owner_token)) {
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setColumnCount(1);
  setHeaderLabels({title});
  header()->setStretchLastSection(false);
  setContextMenuPolicy(Qt::CustomContextMenu);
  setDragEnabled(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDropIndicatorShown(false);
}

void ModDragList::Show(const app::ModRows& rows) {
  QSignalBlocker quiet(this);
  clear();
  QList<QTreeWidgetItem*> items;
  for (int row = 0; row < rows.size(); ++row)
    items << new QTreeWidgetItem(QStringList{QString::fromStdString(rows.TextOf(row))});
  addTopLevelItems(items);
  if (rows.Has(rows.selected())) setCurrentItem(topLevelItem(rows.selected()));
}

int ModDragList::SelectedRow() const {
  QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

QMimeData* ModDragList::NewDragData() const {
  int kind =
      side_ == app::ModListSide::kInstalled ? app::kDragFromInstalled : app::kDragFromAvailable;
  auto* data = new QMimeData;
  data->setData(kDragType, owner_token_ + ":" + QByteArray::number(kind));
  return data;
}

void ModDragList::startDrag(Qt::DropActions) {
  emit dragStarting();
  auto* drag = new QDrag(this);
  drag->setMimeData(NewDragData());
  drag->exec(Qt::CopyAction);
}

int ModDragList::DropKind(const QDropEvent* event) const {
  const QMimeData* data = event->mimeData();
  if (data->hasFormat(kDragType)) {
    QByteArray payload = data->data(kDragType);
    int split = payload.lastIndexOf(':');
    if (split < 0 || payload.left(split) != owner_token_) return -1;
    int kind = payload.mid(split + 1).toInt();
    return app::AcceptsModDrag(side_, kind) ? kind : -1;
  }
  return LocalFiles(data).isEmpty() ? -1 : 0;
}

void ModDragList::dragEnterEvent(QDragEnterEvent* event) {
  if (DropKind(event) >= 0) AcceptAsCopy(*event);
}

// The row under the pointer becomes the selected row: the drop goes where the selection is.
void ModDragList::dragMoveEvent(QDragMoveEvent* event) {
  if (DropKind(event) < 0) return event->ignore();
  if (QTreeWidgetItem* under = itemAt(event->position().toPoint())) setCurrentItem(under);
  AcceptAsCopy(*event);
}

void ModDragList::dropEvent(QDropEvent* event) {
  int kind = DropKind(event);
  if (kind < 0 || !AcceptAsCopy(*event)) return event->ignore();
  if (kind == 0)
    emit filesDropped(LocalFiles(event->mimeData()).join('\n'));
  else
    emit modDropped(kind);
}

void ModDragList::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  setColumnWidth(0, std::max(0, width() - kColumnInset));
}

}  // namespace oxlip::gui

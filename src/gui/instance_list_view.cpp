#include "gui/instance_list_view.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>

#include "gui/drop_action.h"
#include "gui/empty_area_click.h"
#include "gui/image_convert.h"

namespace oxlip::gui {
namespace {

constexpr int kImageIndexRole = Qt::UserRole + 1;
constexpr int kRecordRole = Qt::UserRole + 2;

}  // namespace

InstanceListView::InstanceListView(QWidget* parent) : QListWidget(parent) {
  setViewMode(QListView::IconMode);
  setIconSize(QSize(kInstanceIconSize, kInstanceIconSize));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setResizeMode(QListView::Adjust);
  setMovement(QListView::Static);
  setDropIndicatorShown(false);
  AcceptInstanceDrags();
}

void InstanceListView::ShowImage(QListWidgetItem* item, int index) {
  item->setData(kImageIndexRole, index);
  if (index >= 0 && index < image_count())
    item->setIcon(QIcon(images_[index]));
  else
    item->setIcon(QIcon());
}

void InstanceListView::AddInstanceItem(int position, const QString& text, Instance* record,
                                       const image::Image* image, int image_index) {
  if (position < 0 || position > count()) position = count();
  auto* item = new QListWidgetItem(text);
  item->setData(kRecordRole, QVariant::fromValue(static_cast<void*>(record)));
  if (image) {
    images_.push_back(QPixmap::fromImage(InstanceIconImage(*image)));
    image_index = image_count() - 1;
  }
  ShowImage(item, image_index);
  insertItem(position, item);
}

void InstanceListView::ReplaceInstanceIcon(int row, const image::Image& image) {
  QListWidgetItem* target = item(row);
  if (!target) return;
  QPixmap icon = QPixmap::fromImage(InstanceIconImage(image));
  int index = ImageIndexOf(row);
  if (index < 0 || index >= image_count() || ItemsUsing(index) > 1) {
    images_.push_back(icon);
    return ShowImage(target, image_count() - 1);
  }
  setUpdatesEnabled(false);
  images_[index] = icon;
  ShowImage(target, index);
  setUpdatesEnabled(true);
}

int InstanceListView::ItemsUsing(int image_index) const {
  int users = 0;
  for (int i = 0; i < count(); ++i) users += ImageIndexOf(i) == image_index;
  return users;
}

void InstanceListView::RemoveRow(int row) { delete takeItem(row); }

void InstanceListView::ClearAll() {
  clear();
  images_.clear();
}

int InstanceListView::ImageIndexOf(int row) const {
  QListWidgetItem* found = item(row);
  return found ? found->data(kImageIndexRole).toInt() : -1;
}

Instance* InstanceListView::RecordOf(int row) const {
  QListWidgetItem* found = item(row);
  return found ? static_cast<Instance*>(found->data(kRecordRole).value<void*>()) : nullptr;
}

int InstanceListView::SelectedRow() const {
  QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

int InstanceListView::RowAt(const QPoint& viewport_point) const {
  return gui::RowAt(*this, viewport_point);
}

void InstanceListView::mousePressEvent(QMouseEvent* event) {
  ClearSelectionOnEmptyAreaPress(*this, *event);
  QListWidget::mousePressEvent(event);
}

void InstanceListView::MoveItem(int from, int to) {
  QString text = item(from)->text();
  Instance* record = RecordOf(from);
  int image_index = ImageIndexOf(from);
  setUpdatesEnabled(false);
  delete takeItem(from);
  AddInstanceItem(to, text, record, nullptr, image_index);
  Rearrange();
  setUpdatesEnabled(true);
  setFocus();
  setCurrentRow(to);
}

// Changing the view mode also turns dragging off for a list whose items do not move freely,
// so it is turned on again.
void InstanceListView::Rearrange() {
  setViewMode(QListView::ListMode);
  setViewMode(QListView::IconMode);
  setMovement(QListView::Static);
  AcceptInstanceDrags();
}

void InstanceListView::AcceptInstanceDrags() {
  setDragEnabled(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
}

void InstanceListView::startDrag(Qt::DropActions) {
  emit dragStarted(SelectedRow());
  auto* drag = new QDrag(this);
  drag->setMimeData(NewDragData());
  drag->exec(Qt::CopyAction);
}

// Names this list in this process: a drag from another window's list means nothing here.
QByteArray InstanceListView::DragToken() const {
  return QByteArray::number(QCoreApplication::applicationPid()) + ":" +
         QByteArray::number(reinterpret_cast<quintptr>(this));
}

QMimeData* InstanceListView::NewDragData() const {
  auto* data = new QMimeData;
  data->setData(kDragType, DragToken());
  return data;
}

bool InstanceListView::IsOwnDrag(const QDropEvent* event) const {
  return event->mimeData()->data(kDragType) == DragToken();
}

void InstanceListView::dragEnterEvent(QDragEnterEvent* event) {
  if (IsOwnDrag(event)) AcceptAsCopy(*event);
}

// The row under the pointer becomes the selected row: the drop goes where the selection is.
void InstanceListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!IsOwnDrag(event)) return;
  QModelIndex under = indexAt(event->position().toPoint());
  if (under.isValid()) setCurrentRow(under.row());
  AcceptAsCopy(*event);
}

void InstanceListView::dropEvent(QDropEvent* event) {
  if (!IsOwnDrag(event) || !AcceptAsCopy(*event)) return;
  emit instanceDropped(SelectedRow());
}

}  // namespace oxlip::gui

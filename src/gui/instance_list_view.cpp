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
  QVariant previous = item->data(kImageIndexRole);
  if (previous.isValid()) CountUser(previous.toInt(), -1);
  CountUser(index, 1);
  item->setData(kImageIndexRole, index);
  item->setIcon(index >= 0 && index < image_count() ? images_[index] : QIcon());
}

void InstanceListView::CountUser(int image_index, int change) {
  if (image_index < 0) return;
  if (image_index >= static_cast<int>(users_.size())) users_.resize(image_index + 1, 0);
  users_[image_index] += change;
}

int InstanceListView::AddImage(const image::Image& image) {
  images_.emplace_back(QPixmap::fromImage(InstanceIconImage(image)));
  return image_count() - 1;
}

int InstanceListView::AddSharedImage(const image::Image& image) {
  int index = AddImage(image);
  CountUser(index, 1);  // the caller's hold
  return index;
}

void InstanceListView::AddInstanceItem(int position, const QString& text, Instance* record,
                                       const image::Image* image, int image_index) {
  if (position < 0 || position > count()) position = count();
  auto* item = new QListWidgetItem(text);
  item->setData(kRecordRole, QVariant::fromValue(static_cast<void*>(record)));
  if (image) image_index = AddImage(*image);
  ShowImage(item, image_index);
  insertItem(position, item);
}

void InstanceListView::ReplaceInstanceIcon(int row, const image::Image& image) {
  QListWidgetItem* target = item(row);
  if (!target) return;
  int index = ImageIndexOf(row);
  if (index < 0 || index >= image_count() || ItemsUsing(index) > 1)
    return ShowImage(target, AddImage(image));
  setUpdatesEnabled(false);
  images_[index] = QIcon(QPixmap::fromImage(InstanceIconImage(image)));
  ShowImage(target, index);
  setUpdatesEnabled(true);
}

int InstanceListView::ItemsUsing(int image_index) const {
  return image_index >= 0 && image_index < static_cast<int>(users_.size()) ? users_[image_index]
                                                                           : 0;
}

void InstanceListView::RemoveRow(int row) {
  QListWidgetItem* taken = takeItem(row);
  if (!taken) return;
  CountUser(taken->data(kImageIndexRole).toInt(), -1);
  delete taken;
}

void InstanceListView::ClearAll() {
  clear();
  images_.clear();
  users_.clear();
}

app::RowRange InstanceListView::RowsInView() const {
  // Items are laid out left to right in lines from the top, and the items of a line share its
  // top, so the rows in view are one run: from the line that reaches the top of the view to
  // the last line that starts within it.
  auto first_where = [this](auto holds) {
    int low = 0, high = count();
    while (low < high) {
      int middle = (low + high) / 2;
      if (holds(visualItemRect(item(middle)).top()))
        high = middle;
      else
        low = middle + 1;
    }
    return low;
  };
  int height = viewport()->height();
  int past = first_where([height](int top) { return top >= height; });
  int below_top = first_where([](int top) { return top > 0; });
  if (below_top == 0) return {0, past - 1};
  int top_line = visualItemRect(item(below_top - 1)).top();
  return {first_where([top_line](int top) { return top >= top_line; }), past - 1};
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
  RemoveRow(from);
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

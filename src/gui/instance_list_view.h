#pragma once
// The main window's instance list, large icons in the order of "sort.ini".
#include <QListWidget>
#include <vector>

#include "app/ui.h"
#include "image/image.h"
#include "instances/instance.h"

namespace oxlip::gui {

// The instances as large icons. Icons live in the view's own image list, which only ever
// grows or has an image replaced in place, so an item's image index stays valid. Several
// items may show one image; an image is replaced in place only for its one item.
class InstanceListView : public QListWidget {
  Q_OBJECT

 public:
  static constexpr const char* kDragType = "application/x-oxlip-instance";

  explicit InstanceListView(QWidget* parent);

  // Inserts at `position` (appending when negative or past the end). With an image, the
  // image joins the image list and the item uses it; otherwise the item uses `image_index`.
  void AddInstanceItem(int position, const QString& text, Instance* record,
                       const image::Image* image, int image_index);
  // Shows `image` for the row in place of its own image; an item that shared another's image
  // (or had none) gets one of its own.
  void ReplaceInstanceIcon(int row, const image::Image& image);
  // Appends an image that the caller goes on giving to items it adds (by its index); it is
  // never replaced in place.
  int AddSharedImage(const image::Image& image);
  void RemoveRow(int row);
  // Empties the list and its image list, for a fill from the start.
  void ClearAll();
  int ImageIndexOf(int row) const;
  Instance* RecordOf(int row) const;
  int SelectedRow() const;
  // The row under a point of the viewport; -1 on the empty area.
  int RowAt(const QPoint& viewport_point) const;
  // Moves the item `from` to `to` as a drop does; the core has already moved its record.
  void MoveItem(int from, int to);
  // Lays the icons out anew for the present width.
  void Rearrange();
  // The rows the list shows now, laid out first when a layout is due.
  app::RowRange RowsInView() const;
  // What a drag of a row carries; only this list accepts it.
  QMimeData* NewDragData() const;
  int image_count() const { return static_cast<int>(images_.size()); }

 signals:
  void dragStarted(int row);
  void instanceDropped(int target_row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void startDrag(Qt::DropActions actions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ShowImage(QListWidgetItem* item, int index);
  int AddImage(const image::Image& image);
  void CountUser(int image_index, int change);
  int ItemsUsing(int image_index) const;
  void AcceptInstanceDrags();
  QByteArray DragToken() const;
  bool IsOwnDrag(const QDropEvent* event) const;
  std::vector<QIcon> images_;
  std::vector<int> users_;  // per image: the items that show it, and a caller's hold
};

}  // namespace oxlip::gui

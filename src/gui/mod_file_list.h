#pragma once
// The mod dialog's three file lists over the folders of the workspace.
#include <QFileSystemModel>
#include <QListView>
#include <QMimeData>

#include "app/mod_dialog_model.h"

namespace oxlip::gui {

// One list of the mod dialog: the content of one folder of the workspace, kept up to date by
// the file system's change notices. Double-clicks are reported, not followed; drags between
// the dialog's lists move, files from the desktop are copied where the model takes them.
class ModFileList : public QListView {
  Q_OBJECT

 public:
  static constexpr const char* kDragType = "application/x-oxlip-mod-items";

  ModFileList(QWidget* parent, app::ModDialogModel& model, int list);

  // Shows the folder the model names for this list.
  void ShowFolder();
  // Names of the entries shown, as far as they have been read.
  QStringList ShownNames() const;
  void SelectNames(const QStringList& names);
  // What a drag of the selected entries carries; they become the model's dragged items. Null
  // without a selection.
  QMimeData* BeginDrag();

 signals:
  // The list shows another folder (a folder was entered, or files were copied in).
  void folderShown(int list);

 protected:
  void startDrag(Qt::DropActions supported) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool IsOwnDrag(const QDropEvent* event) const;
  bool Accepts(const QDropEvent* event) const;
  QString ItemAt(const QPoint& position) const;
  QByteArray DragToken() const;

  app::ModDialogModel& model_;
  int list_;
  QFileSystemModel* files_;
};

}  // namespace oxlip::gui

#pragma once
// The instance dialog's two mod lists and the drags between them.
#include <QByteArray>
#include <QMimeData>
#include <QTreeWidget>

#include "app/instance_dialog_model.h"
#include "app/mod_rows.h"

namespace oxlip::gui {

// One of the instance dialog's mod lists: one titled column, whole rows selected one at a
// time. It starts drags of its own kind and takes the dialog's drags that its side accepts
// and files dropped from the desktop; what a drop does is the model's.
class ModDragList : public QTreeWidget {
  Q_OBJECT

 public:
  static constexpr const char* kDragType = "application/x-oxlip-mod-row";

  // `owner_token` names the dialog, so drags of another dialog or process mean nothing here.
  ModDragList(QWidget* parent, const QString& title, app::ModListSide side, QByteArray owner_token);

  // Shows the rows and their selection without reporting it as the person's choice.
  void Show(const app::ModRows& rows);
  int SelectedRow() const;
  app::ModListSide side() const { return side_; }
  // What a drag from this list carries.
  QMimeData* NewDragData() const;

 signals:
  void dragStarting();
  void modDropped(int kind);
  // The dropped files' local paths, one per line.
  void filesDropped(const QString& names);

 protected:
  void startDrag(Qt::DropActions actions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The kind of an acceptable drag of ours, 0 for files, -1 for anything else.
  int DropKind(const QDropEvent* event) const;

  app::ModListSide side_;
  QByteArray owner_token_;
};

}  // namespace oxlip::gui

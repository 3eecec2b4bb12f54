#pragma once
// The main window's version and mod lists: rows of titled columns.
#include <QTreeWidget>
#include <utility>
#include <vector>

namespace oxlip::gui {

// A list in report form with full-row single selection and titled columns, accepting files
// dropped from the desktop.
class ReportListView : public QTreeWidget {
  Q_OBJECT

 public:
  ReportListView(QWidget* parent, const std::vector<std::pair<QString, int>>& columns);
  void Fill(const std::vector<QStringList>& rows);
  int SelectedRow() const;
  // The row under a point of the viewport; -1 on the empty area.
  int RowAt(const QPoint& viewport_point) const;

 signals:
  // The dropped files' local paths, one per line.
  void filesDropped(const QString& names);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace oxlip::gui

#pragma once
// A text drawn in the empty area of a list view while the list has no rows.
#include <QAbstractItemView>
#include <QObject>
#include <functional>

namespace oxlip::gui {

class EmptyAreaText : public QObject {
 public:
  // Asks `text` at every paint of the empty list, so it shows what is true at that moment; an
  // empty text draws nothing. Owned by the view.
  EmptyAreaText(QAbstractItemView* view, std::function<QString()> text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAbstractItemView* view_;
  std::function<QString()> text_;
};

}  // namespace oxlip::gui

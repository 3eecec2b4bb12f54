#pragma once
// How the program's lists take drops from other programs.
#include <QDropEvent>

namespace oxlip::gui {

// Takes a drag or a drop as a copy, whatever the source proposed: a file manager told that its
// files were moved deletes them. A source that offers no copy is refused; false then.
inline bool AcceptAsCopy(QDropEvent& event) {
  if (!(event.possibleActions() & Qt::CopyAction)) {
    event.ignore();
    return false;
  }
  event.setDropAction(Qt::CopyAction);
  event.accept();
  return true;
}

}  // namespace oxlip::gui

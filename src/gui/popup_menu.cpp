#include "gui/popup_menu.h"

namespace oxlip::gui {

void FillQMenu(QMenu& target, const Menu& menu) {
  for (const MenuItem& item : menu) {
    // A "&" in a name (an instance's) is shown as such, not taken as a shortcut marker.
    QString text = QString::fromStdString(item.text).replace('&', "&&");
    switch (item.kind) {
      case MenuItem::Kind::kSeparator:
        target.addSeparator();
        break;
      case MenuItem::Kind::kSubmenu:
        FillQMenu(*target.addMenu(text), item.items);
        break;
      case MenuItem::Kind::kCommand: {
        QAction* action = target.addAction(text);
        action->setData(item.id);
        action->setEnabled(item.enabled);
        break;
      }
    }
  }
}

int ShowPopupMenu(const Menu& menu, const QPoint& where, QWidget* owner) {
  QMenu popup(owner);
  FillQMenu(popup, menu);
  QAction* chosen = popup.exec(where);
  return chosen ? chosen->data().toInt() : -1;
}

}  // namespace oxlip::gui

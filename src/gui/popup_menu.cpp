#include "gui/popup_menu.h"

namespace oxlip::gui {

void FillQMenu(QMenu& target, const app::Menu& menu) {
  for (const app::MenuItem& item : menu) {
    // A "&" in a name (an instance's) is shown as such, not taken as a shortcut marker.
    QString text = QString::fromStdString(item.text).replace('&', "&&");
    switch (item.kind) {
      case app::MenuItem::Kind::kSeparator:
        target.addSeparator();
        break;
      case app::MenuItem::Kind::kSubmenu:
        FillQMenu(*target.addMenu(text), item.items);
        break;
      case app::MenuItem::Kind::kCommand: {
        QAction* action = target.addAction(text);
        action->setData(item.id);
        action->setEnabled(item.enabled);
        break;
      }
    }
  }
}

int ShowPopupMenu(const app::Menu& menu, const QPoint& where, QWidget* owner) {
  QMenu popup(owner);
  FillQMenu(popup, menu);
  QAction* chosen = popup.exec(where);
  return chosen ? chosen->data().toInt() : -1;
}

}  // namespace oxlip::gui

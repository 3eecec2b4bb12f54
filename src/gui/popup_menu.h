#pragma once
// The core's popup menus shown as Qt menus.
#include <QMenu>
#include <QPoint>

#include "app/menus.h"

namespace oxlip::gui {

// The menu's items as Qt actions whose data is the command identifier; texts show as written.
void FillQMenu(QMenu& target, const app::Menu& menu);

// Shows the menu at `where`, owned by `owner`; the chosen identifier, or -1.
int ShowPopupMenu(const app::Menu& menu, const QPoint& where, QWidget* owner);

}  // namespace oxlip::gui

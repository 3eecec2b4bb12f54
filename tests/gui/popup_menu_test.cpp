#include "gui/popup_menu.h"

#include <gtest/gtest.h>

namespace oxlip::gui {
namespace {

// "text:id" for commands ("!" when disabled), "-" for separators, "text{...}" for submenus.
std::string Describe(const QMenu& menu) {
  std::string out;
  for (QAction* action : menu.actions()) {
    if (!out.empty()) out += " ";
    if (action->isSeparator()) {
      out += "-";
    } else if (action->menu()) {
      out += action->text().toStdString() + "{" + Describe(*action->menu()) + "}";
    } else {
      out += action->text().toStdString() + ":" + std::to_string(action->data().toInt()) +
             (action->isEnabled() ? "" : "!");
    }
  }
  return out;
}

std::string Shown(const Menu& menu) {
  QMenu qmenu;
  FillQMenu(qmenu, menu);
  return Describe(qmenu);
}

TEST(PopupMenus, EveryMenuAsQtActionsWithItsIdentifiers) {
  EXPECT_EQ(Shown(InstanceMenuFor("Survival", false)),
            "Survival:5! Start:0 Config:4 - Backup{Backup:12} Backup saves{Backup saves:13} "
            "Repair/update{Repair/Update:2} Clone{Clone:1} Delete{Delete:3} - "
            "Open in Explorer{Instance:8 Save:9 Screenshots:10 Texturepacks:11}");
  EXPECT_EQ(Shown(InstanceMenuFor("Modded", true)),
            "Modded:5! Start:0 Start with alternate:14 Config:4 - "
            "Mod{Import Mod-Settings from alternate:15} Backup{Backup:12} "
            "Backup saves{Backup saves:13} Repair/update{Repair/Update:2} Clone{Clone:1} "
            "Delete{Delete:3} - Open in Explorer{Instance:8 Save:9 Screenshots:10 Texturepacks:11}");
  EXPECT_EQ(Shown(BuildMenu(MenuKind::kInstanceArea)), "New instance:6 Import from original:7");
  EXPECT_EQ(Shown(BuildMenu(MenuKind::kVersionList)), "Reload List:18 - Download all Beta:16");
  EXPECT_EQ(Shown(BuildMenu(MenuKind::kVersionRow)), "Downgrade:17 Delete{Delete:19}");
  EXPECT_EQ(Shown(BuildMenu(MenuKind::kModList)), "New mod:22 Import mod:23");
  EXPECT_EQ(Shown(BuildMenu(MenuKind::kModRow)),
            "Rename:24 Open in Explorer:26 Delete{Delete:25}");
}

}  // namespace
}  // namespace oxlip::gui

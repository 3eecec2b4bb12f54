#include "gui/popup_menu.h"

#include <gtest/gtest.h>

namespace oxlip::gui {
namespace {

// Every item of `expected` appears in `shown` in the same place with the same text, identifier,
// state and submenu.
void ExpectSameMenu(const QMenu& shown, const app::Menu& expected, const std::string& where) {
  QList<QAction*> actions = shown.actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size())) << where;
  for (size_t i = 0; i < expected.size(); ++i) {
    const app::MenuItem& item = expected[i];
    QAction* action = actions[static_cast<qsizetype>(i)];
    std::string at = where + "/" + std::to_string(i);
    EXPECT_EQ(action->isSeparator(), item.kind == app::MenuItem::Kind::kSeparator) << at;
    if (item.kind == app::MenuItem::Kind::kSeparator) continue;
    EXPECT_EQ(action->iconText().toStdString(), item.text) << at;
    ASSERT_EQ(action->menu() != nullptr, item.kind == app::MenuItem::Kind::kSubmenu) << at;
    if (action->menu()) {
      ExpectSameMenu(*action->menu(), item.items, at);
    } else {
      EXPECT_EQ(action->data().toInt(), item.id) << at;
      EXPECT_EQ(action->isEnabled(), item.enabled) << at;
    }
  }
}

TEST(PopupMenus, EveryMenuShowsTheCoresItemsAndIdentifiers) {
  for (app::MenuKind kind :
       {app::MenuKind::kInstance, app::MenuKind::kInstanceAlternate, app::MenuKind::kInstanceArea,
        app::MenuKind::kVersionList, app::MenuKind::kVersionRow, app::MenuKind::kModList,
        app::MenuKind::kModRow}) {
    QMenu shown;
    app::Menu menu = app::BuildMenu(kind);
    FillQMenu(shown, menu);
    ExpectSameMenu(shown, menu, "menu " + std::to_string(static_cast<int>(kind)));
  }
}

TEST(PopupMenus, TheInstanceMenuReadsTheNameAndCannotBeChosenThere) {
  QMenu shown;
  FillQMenu(shown, app::InstanceMenuFor("Tom & Jerry", true));
  QAction* first = shown.actions().first();
  // What the menu draws: a "&" is no shortcut marker here.
  EXPECT_EQ(first->iconText(), "Tom & Jerry");
  EXPECT_FALSE(first->isEnabled());
  EXPECT_EQ(first->data().toInt(), app::kCmdInstanceName);
}

}  // namespace
}  // namespace oxlip::gui

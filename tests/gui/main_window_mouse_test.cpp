// The main window driven by mouse events that pass through the window system, as a person's clicks
// do: what a right click offers, and what "Config" leaves in the instance list.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include "app/menus.h"
#include "gui/instance_dialog.h"
#include "gui_fixture.h"

namespace oxlip::gui {
namespace {

QStringList Texts(const app::Menu& menu) {
  QStringList texts;
  for (const app::MenuItem& item : menu)
    if (item.kind != app::MenuItem::Kind::kSeparator) texts << QString::fromStdString(item.text);
  return texts;
}

class MainWindowMouse : public test::MainWindowFixture {
 protected:
  void OpenAt(int width, int height, int instances) {
    for (int i = 0; i < instances; ++i) MakeInstance("Instance " + std::to_string(i), Qt::green);
    test::WriteFile(dir() + "Oxlip.ini", "WinW = " + std::to_string(width) +
                                             "\r\nWinH = " + std::to_string(height) +
                                             "\r\nMCURL = http://127.0.0.1:9/\r\nMCASSETSURL = "
                                             "http://127.0.0.1:9/\r\n");
    Open();
    // Generous: a window manager on a loaded machine can take its time.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), 60000));
    // The icons out of view come behind the window; these tests count images.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !state.icons.loader.busy(); }, 60000));
  }

  // Right-clicks the viewport of `list` at `at`; the texts of the menu that opened. The menu is
  // closed, or the item `choose` is clicked.
  static QStringList RightClick(QAbstractItemView* list, QPoint at, const QString& choose = {}) {
    QStringList shown;
    test::WhenUp<QMenu>([&shown, choose](QMenu* menu) {
      for (QAction* action : menu->actions())
        if (!action->isSeparator()) shown << action->iconText();
      for (QAction* action : menu->actions())
        if (!choose.isEmpty() && action->text() == choose)
          return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      menu->close();
    });
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
    return shown;
  }
};

TEST_F(MainWindowMouse, AfterARowWasClickedTheEmptyAreaOffersTheListsOwnMenu) {
  test::WriteFile(dir() + "mods/m/mod.ini", "Name = Zeppelins\r\nVersion = 1.2.5\r\n");
  MakeInstance("Tom & Jerry", Qt::green);  // a "&" is no shortcut marker in its menu
  OpenAt(640, 480, 0);
  state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1333000000}};
  ui->ListChanged(app::ListKind::kVersions);
  struct Case {
    QAbstractItemView* list;
    app::Menu row_menu;
    app::MenuKind area_menu;
  };
  const Case cases[] = {
      {window->instance_list(), app::InstanceMenuFor("Tom & Jerry", false),
       app::MenuKind::kInstanceArea},
      {window->version_list(), app::BuildMenu(app::MenuKind::kVersionRow),
       app::MenuKind::kVersionList},
      {window->mod_list(), app::BuildMenu(app::MenuKind::kModRow), app::MenuKind::kModList}};
  for (int tab = 0; tab < 3; ++tab) {
    SCOPED_TRACE(tab);
    const Case& c = cases[tab];
    window->tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    QPoint row = c.list->visualRect(c.list->model()->index(0, 0)).center();
    QTest::mouseClick(c.list->viewport(), Qt::LeftButton, {}, row);
    ASSERT_TRUE(c.list->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(RightClick(c.list, row), Texts(c.row_menu));
    QPoint empty = c.list->viewport()->rect().bottomRight() - QPoint(5, 5);
    EXPECT_EQ(RightClick(c.list, empty), Texts(app::BuildMenu(c.area_menu)));
    EXPECT_FALSE(c.list->selectionModel()->hasSelection());
  }
}

TEST_F(MainWindowMouse, ConfigOnTheFifthOfTenKeepsItSelectedAndInViewAndAddsNoImage) {
  OpenAt(260, 240, 10);
  InstanceListView* list = window->instance_list();
  ASSERT_EQ(list->count(), 10);
  list->doItemsLayout();
  list->scrollToItem(list->item(4), QAbstractItemView::PositionAtTop);
  int scrolled = list->verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0) << "the window must be small enough for the list to scroll";
  int images = list->image_count();
  for (int run = 0; run < 10; ++run) {
    SCOPED_TRACE(run);
    test::WhenUp<InstanceConfigDialog>([run](InstanceConfigDialog* dialog) {
      if (run == 0) {
        dialog->title_field()->selectAll();
        QTest::keyClicks(dialog->title_field(), "Renamed");
      }
      dialog->ok_button()->click();
    });
    QPoint fifth = list->visualItemRect(list->item(4)).center();
    ASSERT_TRUE(RightClick(list, fifth, "Config").contains("Config"));
    QApplication::processEvents();
    EXPECT_EQ(list->item(4)->text(), "Renamed");
    EXPECT_EQ(list->SelectedRow(), 4);
    EXPECT_EQ(window->focusWidget(), list);
    EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(4))));
    EXPECT_EQ(list->image_count(), images);
  }
}

}  // namespace
}  // namespace oxlip::gui

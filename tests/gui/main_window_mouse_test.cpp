// The main window driven by mouse events that pass through the window system, as a person's
// clicks do: what a right click offers, and what "Config" leaves in the instance list.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "app/menus.h"
#include "app/startup.h"
#include "gui/instance_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "support/temp_folder.h"
#include "when_up.h"

namespace oxlip::gui {
namespace {

QStringList Texts(const app::Menu& menu) {
  QStringList texts;
  for (const app::MenuItem& item : menu)
    if (item.kind != app::MenuItem::Kind::kSeparator) texts << QString::fromStdString(item.text);
  return texts;
}

QStringList Texts(const QMenu& menu) {
  QStringList texts;
  for (QAction* action : menu.actions())
    if (!action->isSeparator()) texts << action->text();
  return texts;
}

using test::WhenUp;

class MainWindowMouse : public test::InTempFolder {
 protected:
  void Open(int width, int height) {
    test::WriteFile(dir() + "Oxlip.ini",
                    "WinW = " + std::to_string(width) + "\r\nWinH = " + std::to_string(height) +
                        "\r\nMCURL = http://127.0.0.1:9/\r\nMCASSETSURL = http://127.0.0.1:9/\r\n");
    ASSERT_TRUE(app::StartUp(state));
    window = std::make_unique<MainWindow>(state);
    ui = std::make_unique<QtUi>(window.get());
    window->set_ui(ui.get());
    window->PlaceFromSettings();
    window->show();
    // Generous: a window manager on a loaded machine can take its time.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), 60000));
    app::FillLists(state, *ui);
    // The icons out of view come behind the window; these tests count images.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !state.icons.loader.busy(); }, 60000));
  }

  void MakeInstances(int count) {
    for (int i = 0; i < count; ++i) {
      std::string folder = dir() + "Instances/i" + std::to_string(i) + "/";
      test::WriteFile(folder + "settings.ini", "Name = Instance " + std::to_string(i) + "\r\n");
      QImage icon(20, 20, QImage::Format_ARGB32);
      icon.fill(Qt::green);
      icon.save(QString::fromStdString(folder + "icon.png"));
    }
  }

  // Right-clicks the viewport of `list` at `at`; the texts of the menu that opened. The menu
  // is closed, or the item `choose` is clicked.
  static QStringList RightClick(QAbstractItemView* list, QPoint at, const QString& choose = {}) {
    QStringList shown;
    WhenUp<QMenu>([&shown, choose](QMenu* menu) {
      shown = Texts(*menu);
      for (QAction* action : menu->actions())
        if (!choose.isEmpty() && action->text() == choose)
          return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      menu->close();
    });
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
    return shown;
  }

  static QPoint EmptyArea(QAbstractItemView* list) {
    QRect area = list->viewport()->rect();
    return area.bottomRight() - QPoint(5, 5);
  }

  app::AppState state;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtUi> ui;
};

TEST_F(MainWindowMouse, AfterARowWasClickedTheEmptyAreaOffersTheListsOwnMenu) {
  MakeInstances(1);
  test::WriteFile(dir() + "mods/m/mod.ini", "Name = Zeppelins\r\nVersion = 1.2.5\r\n");
  Open(640, 480);
  state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1333000000}};
  ui->ListChanged(app::ListKind::kVersions);
  struct Case {
    int tab;
    QAbstractItemView* list;
    app::Menu row_menu;
    app::MenuKind area_menu;
  };
  for (const Case& c : {Case{0, window->instance_list(), app::InstanceMenuFor("Instance 0", false),
                             app::MenuKind::kInstanceArea},
                        Case{1, window->version_list(), app::BuildMenu(app::MenuKind::kVersionRow),
                             app::MenuKind::kVersionList},
                        Case{2, window->mod_list(), app::BuildMenu(app::MenuKind::kModRow),
                             app::MenuKind::kModList}}) {
    SCOPED_TRACE(c.tab);
    window->tabs()->setCurrentIndex(c.tab);
    QApplication::processEvents();
    QPoint row = c.list->visualRect(c.list->model()->index(0, 0)).center();
    QTest::mouseClick(c.list->viewport(), Qt::LeftButton, {}, row);
    ASSERT_TRUE(c.list->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(RightClick(c.list, row), Texts(c.row_menu));
    EXPECT_EQ(RightClick(c.list, EmptyArea(c.list)), Texts(app::BuildMenu(c.area_menu)));
    EXPECT_FALSE(c.list->selectionModel()->hasSelection());
  }
}

TEST_F(MainWindowMouse, ConfigOnTheFifthOfTenKeepsItSelectedAndInViewAndAddsNoImage) {
  MakeInstances(10);
  Open(260, 240);
  InstanceListView* list = window->instance_list();
  ASSERT_EQ(list->count(), 10);
  list->doItemsLayout();
  list->scrollToItem(list->item(4), QAbstractItemView::PositionAtTop);
  int scrolled = list->verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0) << "the window must be small enough for the list to scroll";
  int images = list->image_count();
  for (int run = 0; run < 10; ++run) {
    SCOPED_TRACE(run);
    WhenUp<InstanceConfigDialog>([run](InstanceConfigDialog* dialog) {
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

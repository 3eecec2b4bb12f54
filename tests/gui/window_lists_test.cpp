#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "app/main_view.h"
#include "app/startup.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "support/held_file.h"
#include "support/temp_folder.h"

namespace oxlip::gui {
namespace {

class WindowListsTest : public test::InTempFolder {
 protected:
  void MakeInstance(const std::string& folder, int icon_side) {
    std::string path = dir() + "Instances/" + folder + "/";
    std::filesystem::create_directories(path);
    test::WriteFile(path + "settings.ini", "Name = " + folder + "\r\n");
    if (icon_side > 0) {
      QImage icon(icon_side, icon_side, QImage::Format_ARGB32);
      icon.fill(Qt::red);
      icon.save(QString::fromStdString(path + "icon.png"));
    }
  }

  void MakeDefaultIcon() {
    std::filesystem::create_directories(dir() + "Icons");
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::blue);
    icon.save(QString::fromStdString(dir() + "Icons/Default.png"));
  }

  // The colour in the middle of the row's icon.
  QColor Colour(int row) {
    return window->instance_list()->item(row)->icon().pixmap(48).toImage().pixelColor(24, 24);
  }

  void Open() {
    ASSERT_TRUE(app::StartUp(state));
    window = std::make_unique<MainWindow>(state);
    ui = std::make_unique<QtUi>(window.get());
    window->set_ui(ui.get());
    window->PlaceFromSettings();
    window->show();
    app::FillLists(state, *ui);
    QApplication::processEvents();
  }

  // Sends what a drag of our own type does when it ends over `row`.
  void DropOnRow(int row) {
    InstanceListView* list = window->instance_list();
    list->doItemsLayout();
    QPoint at = list->visualItemRect(list->item(row)).center();
    std::unique_ptr<QMimeData> data(list->NewDragData());
    DropOn(at, data.get());
  }

  void DropOn(QPoint at, const QMimeData* data) {
    DropOn(window->instance_list(), at, data, Qt::CopyAction);
  }

  // The action each step of the drag was answered with, when it was accepted. With Shift held
  // the source proposes a move.
  static std::vector<Qt::DropAction> DropOn(QAbstractItemView* list, QPoint at,
                                            const QMimeData* data, Qt::DropActions actions,
                                            Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, keys);
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, keys);
    QDropEvent drop(at, actions, data, Qt::LeftButton, keys);
    std::vector<Qt::DropAction> answers;
    for (QDropEvent* event :
         {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move), &drop}) {
      QApplication::sendEvent(list->viewport(), event);
      answers.push_back(event->isAccepted() ? event->dropAction() : Qt::IgnoreAction);
    }
    return answers;
  }

  app::AppState state;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtUi> ui;
};

TEST_F(WindowListsTest, VersionRowsShowTheDateAsDayMonthYear) {
  Open();
  state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1333000000}};
  state.mods = {{"a\\", "1.2.5", "Better Light", "x"}};
  ui->ListChanged(app::ListKind::kVersions);
  ui->ListChanged(app::ListKind::kMods);
  QTreeWidgetItem* row = window->version_list()->topLevelItem(0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->text(0), "minecraft - 1.2.5.jar");
  EXPECT_EQ(row->text(2).toStdString(), platform::FormatDate(1333000000));
  EXPECT_EQ(window->mod_list()->topLevelItem(0)->text(0), "Better Light");
}

TEST_F(WindowListsTest, IconsAreScaledTo48AndTheDefaultIsShared) {
  MakeDefaultIcon();
  MakeInstance("own", 100);
  MakeInstance("plain", 0);
  Open();
  InstanceListView* list = window->instance_list();
  ASSERT_EQ(list->count(), 2);
  for (int row = 0; row < 2; ++row) {
    QPixmap shown = list->item(row)->icon().pixmap(48, 48);
    EXPECT_EQ(shown.size(), QSize(48, 48));
    bool own = list->RecordOf(row)->Folder == "own";
    EXPECT_EQ(Colour(row), own ? QColor(Qt::red) : QColor(Qt::blue));
  }
  // The one instance showing the default gets an icon; one added afterwards shows the default.
  int plain = list->RecordOf(0)->Folder == "plain" ? 0 : 1;
  state.instance_list[plain]->Icon.SetOwn(image::Image{1, 1, {0, 255, 0, 255}});
  ui->InstanceRowChanged(plain, app::RowChange::kEdited);
  state.instances.push_back(std::make_unique<Instance>());
  state.instances.back()->Icon = instances::InstanceIcon(state.default_icon);
  state.instance_list.push_back(state.instances.back().get());
  ui->InstanceRowChanged(2, app::RowChange::kAdded);
  EXPECT_EQ(Colour(plain), QColor(Qt::green));
  EXPECT_EQ(Colour(2), QColor(Qt::blue));
}

// Without a default icon, an instance without its own shows the first image of the list;
// giving it an icon must not repaint the instance whose image that is.
TEST_F(WindowListsTest, AnIconGivenToAnInstanceThatSharedAnImageIsItsOwn) {
  MakeInstance("own", 20);
  MakeInstance("plain", 0);
  test::WriteFile(dir() + "Instances/sort.ini", "own\r\nplain\r\n");
  Open();
  InstanceListView* list = window->instance_list();
  ASSERT_EQ(list->ImageIndexOf(1), list->ImageIndexOf(0));
  state.instance_list[1]->Icon.SetOwn(image::Image{1, 1, {0, 0, 255, 255}});
  ui->InstanceRowChanged(1, app::RowChange::kEdited);
  EXPECT_EQ(Colour(0), QColor(Qt::red));
  EXPECT_EQ(Colour(1), QColor(Qt::blue));
}

// The icons out of view are read behind the window, which answers a click meanwhile: the
// reading is held at an icon out of view until the click was answered.
TEST_F(WindowListsTest, IconsOutOfViewComeWhileTheWindowAnswers) {
  MakeDefaultIcon();
  constexpr int kCount = 200, kHeld = 120;
  std::string order;
  for (int i = 0; i < kCount; ++i) {
    MakeInstance("i" + std::to_string(i), i == kHeld ? 0 : 20);
    order += "i" + std::to_string(i) + "\r\n";
  }
  test::WriteFile(dir() + "Instances/sort.ini", order);
  test::HeldFile held(dir() + "Instances/i" + std::to_string(kHeld) + "/icon.png");
  Open();
  InstanceListView* list = window->instance_list();
  ASSERT_LT(list->RowsInView().last, kHeld);
  EXPECT_EQ(Colour(0), QColor(Qt::red));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(list->SelectedRow(), 1);
  EXPECT_EQ(Colour(kCount - 1), QColor(Qt::blue));
  QBuffer png;
  QImage icon(20, 20, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  icon.save(&png, "PNG");
  held.Release(png.data().toStdString());
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        for (int row = 0; row < kCount; ++row)
          if (Colour(row) != QColor(Qt::red)) return false;
        return true;
      },
      60000));
}

TEST_F(WindowListsTest, DraggingTheFirstOfThreeOntoTheThird) {
  for (std::string f : {"first", "second", "third"}) MakeInstance(f, 20);
  test::WriteFile(dir() + "Instances/sort.ini", "first\r\nsecond\r\nthird\r\n");
  Open();
  InstanceListView* list = window->instance_list();
  int first_image = list->ImageIndexOf(0);
  list->setCurrentRow(0);
  app::StartInstanceDrag(state, list->SelectedRow());
  // A drag of our type from another window's list moves nothing here.
  list->doItemsLayout();
  QMimeData foreign;
  foreign.setData(InstanceListView::kDragType, "4242:1");
  DropOn(list->visualItemRect(list->item(2)).center(), &foreign);
  EXPECT_EQ(list->item(0)->text(), "first");
  DropOnRow(2);
  EXPECT_EQ(list->item(2)->text(), "first");
  EXPECT_EQ(list->item(0)->text(), "second");
  EXPECT_EQ(list->ImageIndexOf(2), first_image);
  EXPECT_EQ(list->SelectedRow(), 2);
  // The moved item alone shows its image, so a new icon replaces it in place.
  int images = list->image_count();
  state.instance_list[2]->Icon.SetOwn(image::Image{1, 1, {0, 255, 0, 255}});
  ui->InstanceRowChanged(2, app::RowChange::kEdited);
  EXPECT_EQ(list->ImageIndexOf(2), first_image);
  EXPECT_EQ(list->image_count(), images);
}

// A source that offers a move is answered with a copy: a file manager told that its file was
// moved deletes it. A jar is taken into the store only after the drop was answered.
TEST_F(WindowListsTest, DropsAreCopiesAndADroppedJarIsStoredAfterTheDropIsAnswered) {
  MakeInstance("only", 20);
  Open();
  std::string jar = dir() + "in/game.jar";
  test::WriteFile(jar,
                  test::ReadFile(std::string(OXLIP_FIXTURE_ROOT) + "assets/1_0/minecraft.jar"));
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(jar))});
  std::unique_ptr<QMimeData> row(window->instance_list()->NewDragData());
  std::vector<Qt::DropAction> copies(3, Qt::CopyAction);
  window->instance_list()->doItemsLayout();
  QPoint first_row =
      window->instance_list()->visualItemRect(window->instance_list()->item(0)).center();
  EXPECT_EQ(DropOn(window->instance_list(), first_row, row.get(), Qt::MoveAction | Qt::CopyAction,
                   Qt::ShiftModifier),
            copies);
  window->tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  EXPECT_EQ(DropOn(window->version_list(), QPoint(10, 10), &files, Qt::MoveAction | Qt::CopyAction,
                   Qt::ShiftModifier),
            copies);
  std::string stored = state.settings.VersionsDir + "minecraft - 1.0.jar";
  EXPECT_FALSE(std::filesystem::exists(stored));
  QApplication::processEvents();
  EXPECT_EQ(test::ReadFile(stored), test::ReadFile(jar));
  EXPECT_EQ(window->version_list()->topLevelItemCount(), 1);
}

TEST_F(WindowListsTest, ResizingKeepsThePanelFivePixelsFromEachEdge) {
  test::WriteFile(dir() + "Oxlip.ini", "WinW = 900\r\nWinH = 700\r\n");
  Open();
  for (QSize size : {QSize(900, 700), QSize(700, 500), QSize(333, 222)}) {
    window->resize(size);
    QApplication::processEvents();
    EXPECT_EQ(window->tabs()->geometry(), QRect(5, 5, size.width() - 10, size.height() - 10));
    QSize page = window->tabs()->currentWidget()->size();
    EXPECT_EQ(window->instance_list()->geometry(), QRect(QPoint(0, 0), page));
    window->tabs()->setCurrentIndex(2);  // a page shown after the resize fills at once too
    QApplication::processEvents();
    EXPECT_EQ(window->mod_list()->geometry(), QRect(QPoint(0, 0), page));
    window->tabs()->setCurrentIndex(0);
  }
}

}  // namespace
}  // namespace oxlip::gui

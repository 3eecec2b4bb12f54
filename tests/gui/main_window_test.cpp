// The main window over a data folder: where it opens, what its lists and menus show, the instance
// icons and what drops onto the lists do.
#include "gui/main_window.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "app/main_view.h"
#include "gui/mod_dialog.h"
#include "gui_fixture.h"
#include "support/held_file.h"
#include "support/mod_fixtures.h"

namespace oxlip::gui {
namespace {

class MainWindowTest : public test::MainWindowFixture {
 protected:
  // The colour in the middle of the row's icon, drawn at 48 pixels.
  QColor Colour(int row) {
    QImage shown = window->instance_list()->item(row)->icon().pixmap(48).toImage();
    EXPECT_EQ(shown.size(), QSize(48, 48));
    return shown.pixelColor(24, 24);
  }
  QPoint RowCentre(int row) {
    window->instance_list()->doItemsLayout();
    return window->instance_list()->visualItemRect(window->instance_list()->item(row)).center();
  }
  void GiveIcon(int row, uint8_t green) {
    state.instance_list[row]->Icon.SetOwn(image::Image{1, 1, {0, green, 255, 255}});
    ui->InstanceRowChanged(row, app::RowChange::kEdited);
  }
};

// Where it opens and what it stores of that; the lists show the state and a page fills the tab
// after a resize, also one shown later.
TEST_F(MainWindowTest, PlacesItselfAsTheSettingsSayAndListsFillTheirPage) {
  test::WriteFile(dir() + "Oxlip.ini", "WinX = 30\r\nWinY = 40\r\nWinW = 500\r\nWinH = 300\r\n");
  Open();
  EXPECT_EQ(QRect(window->pos(), window->size()), QRect(30, 40, 500, 300));
  window->move(50, 60);
  window->resize(410, 320);
  window->StoreGeometry();
  const base::GlobalSettings& s = state.settings;
  EXPECT_EQ(QRect(s.WinX, s.WinY, s.WinW, s.WinH), QRect(50, 60, 410, 320));
  state.settings.WinY = -1;  // either coordinate -1: centred
  window->PlaceFromSettings();
  QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_NEAR(window->geometry().center().x(), area.center().x(), 10);

  state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1333000000}};
  state.mods = {{"a\\", "1.2.5", "Better Light", "x"}};
  ui->ListChanged(app::ListKind::kVersions);
  ui->ListChanged(app::ListKind::kMods);
  ASSERT_NE(window->version_list()->topLevelItem(0), nullptr);
  EXPECT_EQ(window->version_list()->topLevelItem(0)->text(2).toStdString(),
            platform::FormatDate(1333000000));
  EXPECT_EQ(window->mod_list()->topLevelItem(0)->text(0), "Better Light");
  for (QSize size : {QSize(700, 500), QSize(333, 222)}) {
    window->resize(size);
    window->tabs()->setCurrentIndex(2);
    QApplication::processEvents();
    EXPECT_EQ(window->mod_list()->size(), window->tabs()->currentWidget()->size());
    EXPECT_EQ(window->tabs()->geometry(), QRect(5, 5, size.width() - 10, size.height() - 10));
    window->tabs()->setCurrentIndex(0);
  }
}

class MainWindowIcons : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

// Without its own icon an instance shows the default, or without one the first image of the list;
// an icon given to it later is its own and repaints no other.
TEST_P(MainWindowIcons, AnInstanceWithoutIconSharesAnImageUntilItGetsItsOwn) {
  bool with_default = GetParam();
  if (with_default) SaveIcon(dir() + "Icons/Default.png", Qt::blue);
  MakeInstance("own", Qt::red);
  MakeInstance("plain");
  test::WriteFile(dir() + "Instances/sort.ini", "own\r\nplain\r\n");
  Open();
  ASSERT_EQ(window->instance_list()->count(), 2);
  InstanceListView* list = window->instance_list();
  EXPECT_TRUE(with_default ? Colour(1) == QColor(Qt::blue)
                           : list->ImageIndexOf(1) == list->ImageIndexOf(0));
  GiveIcon(1, 255);
  EXPECT_EQ(Colour(0), QColor(Qt::red));
  EXPECT_EQ(Colour(1), QColor(0, 255, 255));
  if (!with_default) return;
  state.instances.push_back(std::make_unique<Instance>());
  state.instances.back()->Icon = instances::InstanceIcon(state.default_icon);
  state.instance_list.push_back(state.instances.back().get());
  ui->InstanceRowChanged(2, app::RowChange::kAdded);
  EXPECT_EQ(Colour(2), QColor(Qt::blue));
}

INSTANTIATE_TEST_SUITE_P(DefaultIcon, MainWindowIcons, ::testing::Bool());

// The icons out of view are read behind the window, which answers a click meanwhile: the reading is
// held at an icon out of view until the click was answered.
TEST_F(MainWindowTest, IconsOutOfViewComeWhileTheWindowAnswers) {
  SaveIcon(dir() + "Icons/Default.png", Qt::blue);
  constexpr int kCount = 200, kHeld = 120;
  std::string order;
  for (int i = 0; i < kCount; ++i) {
    MakeInstance("i" + std::to_string(i), i == kHeld ? QColor() : QColor(Qt::red));
    order += "i" + std::to_string(i) + "\r\n";
  }
  test::WriteFile(dir() + "Instances/sort.ini", order);
  test::HeldFile held(dir() + "Instances/i" + std::to_string(kHeld) + "/icon.png");
  Open();
  InstanceListView* list = window->instance_list();
  ASSERT_LT(list->RowsInView().last, kHeld);
  EXPECT_EQ(Colour(0), QColor(Qt::red));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(1));
  EXPECT_EQ(list->SelectedRow(), 1);
  EXPECT_EQ(Colour(kCount - 1), QColor(Qt::blue));
  SaveIcon(dir() + "red.png", Qt::red);
  held.Release(test::ReadFile(dir() + "red.png"));
  auto all_red = [&] {
    for (int row = 0; row < kCount; ++row)
      if (Colour(row) != QColor(Qt::red)) return false;
    return true;
  };
  EXPECT_TRUE(QTest::qWaitFor(all_red, 60000));
}

// The moved item keeps its image, which it alone shows, so a new icon replaces it in place.
TEST_F(MainWindowTest, DraggingTheFirstOfThreeOntoTheThird) {
  for (std::string f : {"first", "second", "third"}) MakeInstance(f, Qt::red);
  test::WriteFile(dir() + "Instances/sort.ini", "first\r\nsecond\r\nthird\r\n");
  Open();
  InstanceListView* list = window->instance_list();
  int first_image = list->ImageIndexOf(0), images = list->image_count();
  list->setCurrentRow(0);
  app::StartInstanceDrag(state, list->SelectedRow());
  QMimeData foreign;  // our type, from another window's list
  foreign.setData(InstanceListView::kDragType, "4242:1");
  test::DropOn(list->viewport(), RowCentre(2), &foreign);
  EXPECT_EQ(list->item(0)->text(), "first");
  std::unique_ptr<QMimeData> own(list->NewDragData());
  test::DropOn(list->viewport(), RowCentre(2), own.get());
  EXPECT_EQ(list->item(0)->text(), "second");
  EXPECT_EQ(list->item(2)->text(), "first");
  EXPECT_EQ(list->SelectedRow(), 2);
  GiveIcon(2, 255);
  EXPECT_EQ(list->ImageIndexOf(2), first_image);
  EXPECT_EQ(list->image_count(), images);
}

// A source that offers a move is answered with a copy: a file manager told that its file was moved
// deletes it. A jar is taken into the store, and a mod imported through its dialog (behind the
// status window), only after the drop was answered.
TEST_F(MainWindowTest, DropsAreCopiesAndADroppedJarIsStoredAfterTheDropIsAnswered) {
  MakeInstance("only", Qt::red);
  Open();
  std::string jar = dir() + "in/game.jar";
  test::WriteFile(jar,
                  test::ReadFile(std::string(OXLIP_FIXTURE_ROOT) + "assets/1_0/minecraft.jar"));
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(jar))});
  std::unique_ptr<QMimeData> row(window->instance_list()->NewDragData());
  auto offered = Qt::MoveAction | Qt::CopyAction;
  EXPECT_EQ(test::DropOn(window->instance_list()->viewport(), RowCentre(0), row.get(), offered,
                         Qt::ShiftModifier),
            Qt::CopyAction);
  window->tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  EXPECT_EQ(test::DropOn(window->version_list()->viewport(), QPoint(10, 10), &files, offered,
                         Qt::ShiftModifier),
            Qt::CopyAction);
  std::string stored = state.settings.VersionsDir + "minecraft - 1.0.jar";
  EXPECT_FALSE(std::filesystem::exists(stored));
  QApplication::processEvents();
  EXPECT_EQ(test::ReadFile(stored), test::ReadFile(jar));
  EXPECT_EQ(window->version_list()->topLevelItemCount(), 1);

  test::WriteFile(dir() + "pack/config/first.cfg", "first");
  ASSERT_EQ(test::SevenZipProgram(dir() + "pack", "a -tzip ../first.zip config"), 0);
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir() + "first.zip"))});
  test::WhenUp<ModDialog>([](ModDialog* shown) {
    EXPECT_EQ(shown->name_field()->text(), "first");
    shown->name_field()->setText("Dropped");
    shown->ok_button()->click();
  });
  window->tabs()->setCurrentIndex(2);
  QApplication::processEvents();
  ReportListView* mods = window->mod_list();
  EXPECT_EQ(test::DropOn(mods->viewport(), mods->viewport()->rect().center(), &files, offered),
            Qt::CopyAction);
  EXPECT_TRUE(state.mods.empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return mods->topLevelItemCount() == 1; }, 20000));
  EXPECT_EQ(mods->topLevelItem(0)->text(0), "Dropped");
  EXPECT_TRUE(window->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(state.settings.CacheDir + "unzipped"));
}

}  // namespace
}  // namespace oxlip::gui

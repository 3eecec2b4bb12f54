#include "gui/instance_dialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "app/instance_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "instance_dialog_fixture.h"

namespace oxlip::gui {
namespace {

using test::InstanceDialogFixture;

using InstanceDialogLayoutTest = InstanceDialogFixture;

TEST_F(InstanceDialogLayoutTest, OpensWithTheRecordsValues) {
  record.MineCraftFile = "minecraft - 1.1.jar";
  record.LoginCrypt = "stored";
  record.MinMemory = 256;
  record.UseLauncher = 2;
  Open();
  EXPECT_EQ(dialog->title_field()->text(), "Alpha");
  EXPECT_TRUE(dialog->pinned_option()->isChecked());
  EXPECT_EQ(dialog->version_list()->currentText(), "minecraft - 1.1.jar");
  EXPECT_EQ(dialog->version_list()->count(), 2);
  EXPECT_TRUE(dialog->auto_login_box()->isChecked());
  EXPECT_EQ(dialog->min_memory_field()->text(), "256");
  EXPECT_EQ(dialog->launcher_field()->text(), "/games/magic.jar");
  EXPECT_TRUE(dialog->launcher_field()->isReadOnly());
  EXPECT_EQ(dialog->java_field()->text(), "/opt/java/bin/");
  EXPECT_EQ(Rows(dialog->installed_list()),
            (std::vector<std::string>{"[1.1] Cannons", "[1.2.5] Airships"}));
  EXPECT_EQ(Rows(dialog->available_list()),
            (std::vector<std::string>{"[1.2.5] Balloons", "[1.1] Dirigibles"}));
  QIcon preview = dialog->icon_button()->icon();
  ASSERT_FALSE(preview.isNull());
  QImage shown = preview.pixmap(48, 48).toImage();
  EXPECT_EQ(shown.size(), QSize(48, 48));
  EXPECT_EQ(QColor(shown.pixel(20, 20)), QColor(200, 0, 0));
  EXPECT_EQ(dialog->windowTitle(), "Instance Config");
  // The three version options are one group; the launcher options are another.
  ASSERT_NE(dialog->release_option()->group(), nullptr);
  EXPECT_EQ(dialog->release_option()->group()->buttons(),
            (QList<QAbstractButton*>{dialog->release_option(), dialog->beta_option(),
                                     dialog->pinned_option()}));
}

// --- Through the program's own path: QtUi over the main window -----------------------------

class InstanceDialogRunTest : public InstanceDialogFixture {
 protected:
  void SetUp() override {
    state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1300000000},
                      {"minecraft - 1.1.jar", "1.1", 1200000000}};
    state.mods = {{"a\\", "1.2.5", "Airships", "1_a"}, {"c\\", "1.1", "Cannons", "2_c"}};
    window = std::make_unique<MainWindow>(state);
    ui = std::make_unique<QtUi>(window.get());
    window->set_ui(ui.get());
    window->show();
  }

  app::AppState state;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtUi> ui;
};

TEST_F(InstanceDialogRunTest, TypedTitleAndPickedVersionReachTheRecordOnlyOnOK) {
  for (bool ok : {false, true}) {
    SCOPED_TRACE(ok);
    WhenModal<InstanceConfigDialog>([&](InstanceConfigDialog* shown) {
      EXPECT_EQ(shown->parentWidget(), window.get());
      EXPECT_EQ(shown->windowModality(), Qt::ApplicationModal);
      EXPECT_TRUE(shown->release_option()->isChecked());
      shown->version_list()->setFocus();
      QTest::keyClick(shown->version_list(), Qt::Key_Down);
      EXPECT_TRUE(shown->pinned_option()->isChecked());
      QLineEdit* title = shown->title_field();
      title->selectAll();
      QTest::keyClicks(title, "Skyworld");
      QTest::mouseClick(ok ? shown->ok_button() : shown->cancel_button(), Qt::LeftButton);
    });
    EXPECT_EQ(InstanceDialog(state, *ui, record), ok);
    EXPECT_EQ(record.Name, ok ? "Skyworld" : "Alpha");
    EXPECT_EQ(record.MineCraftFile, ok ? "minecraft - 1.1.jar" : "\\\\release");
    EXPECT_EQ(record.Mods, (std::vector<std::string>{"c\\", "a\\"}));
  }
}

// --- Events bound to the model -------------------------------------------------------------

using InstanceDialogEventTest = InstanceDialogFixture;

TEST_F(InstanceDialogEventTest, TypedMemoryReachesTheRecord) {
  Open();
  dialog->tabs()->setCurrentIndex(1);
  QLineEdit* max = dialog->max_memory_field();
  max->selectAll();
  QTest::keyClicks(max, "2x048");  // only digits get in
  EXPECT_EQ(max->text(), "2048");
  model->Confirm();
  EXPECT_EQ(record.MaxMemory, 2048);
}

TEST_F(InstanceDialogEventTest, CancelledLoginUnchecksAutomaticLogin) {
  Open();
  QCheckBox* box = dialog->auto_login_box();
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
  EXPECT_EQ(logins, 1);
  EXPECT_FALSE(dialog->auto_login_box()->isChecked());
}

TEST_F(InstanceDialogEventTest, DoubleClickMovesAModAcross) {
  Open();
  dialog->tabs()->setCurrentIndex(2);
  QApplication::processEvents();
  ModDragList* available = dialog->available_list();
  QRect row = available->visualItemRect(available->topLevelItem(1));
  // A widget's double click, as the window system sends it.
  QWidget* target = available->viewport();
  QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, row.center());
  QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, row.center());
  QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, row.center());
  QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, row.center());
  EXPECT_EQ(Rows(dialog->installed_list()),
            (std::vector<std::string>{"[1.1] Cannons", "[1.2.5] Airships", "[1.1] Dirigibles"}));
  EXPECT_EQ(Rows(available), (std::vector<std::string>{"[1.2.5] Balloons"}));
}

class InstanceDialogDropTest : public InstanceDialogFixture {
 protected:
  void SetUp() override {
    record.Mods = {"a\\", "b\\", "c\\"};
    Open();
    dialog->tabs()->setCurrentIndex(2);
    QApplication::processEvents();
  }

  QPoint RowCentre(QTreeWidget* list, int row) {
    return list->visualItemRect(list->topLevelItem(row)).center();
  }

  // What a drag does when it ends over `at`; false when the list refused it.
  bool DropOn(QTreeWidget* list, QPoint at, const QMimeData* data) {
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    return drop.isAccepted();
  }

  // Selects the row and starts a drag from it as a mouse drag would.
  std::unique_ptr<QMimeData> DragFrom(ModDragList* list, int row) {
    list->setCurrentItem(list->topLevelItem(row));
    emit list->dragStarting();
    return std::unique_ptr<QMimeData>(list->NewDragData());
  }
};

// Where the model puts a dragged mod is its own rule; here, the row under the pointer reaches it.
TEST_F(InstanceDialogDropTest, ModsDroppedOnARowLandThere) {
  ModDragList* installed = dialog->installed_list();
  auto data = DragFrom(dialog->available_list(), 0);
  EXPECT_TRUE(DropOn(installed, RowCentre(installed, 1), data.get()));
  EXPECT_EQ(dialog->available_list()->topLevelItemCount(), 0);
  data = DragFrom(installed, 0);
  EXPECT_TRUE(DropOn(installed, RowCentre(installed, 2), data.get()));
  EXPECT_EQ(Rows(installed), (std::vector<std::string>{"[1.1] Dirigibles", "[1.2.5] Balloons",
                                                       "[1.2.5] Airships", "[1.1] Cannons"}));
  EXPECT_EQ(installed->SelectedRow(), 2);
}

TEST_F(InstanceDialogDropTest, ForeignAndRefusedDragsAreNotTaken) {
  ModDragList* available = dialog->available_list();
  auto own = DragFrom(available, 0);
  EXPECT_FALSE(DropOn(available, RowCentre(available, 0), own.get()));
  // The same kind of drag from another dialog.
  Instance other_record;
  app::InstanceDialogModel other_model(other_record, {}, library, {});
  InstanceConfigDialog other(nullptr, other_model);
  std::unique_ptr<QMimeData> foreign(other.installed_list()->NewDragData());
  EXPECT_FALSE(DropOn(available, RowCentre(available, 0), foreign.get()));
  EXPECT_EQ(Rows(dialog->installed_list()).size(), 3u);
}

TEST_F(InstanceDialogDropTest, ADroppedFileIsImportedAtTheRowDroppedOn) {
  ModDragList* installed = dialog->installed_list();
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/downloads/first.zip")});
  EXPECT_TRUE(DropOn(installed, RowCentre(installed, 1), &files));
  QCoreApplication::processEvents();  // the import runs once the drop is answered
  EXPECT_EQ(imported, (std::vector<std::string>{"/downloads/first.zip"}));
  EXPECT_EQ(Rows(installed), (std::vector<std::string>{"[1.2.5] Airships", "[1.2.5] New i\\",
                                                       "[1.2.5] Balloons", "[1.1] Cannons"}));
}

TEST_F(InstanceDialogDropTest, PopupNewModGoesBeforeTheRightClickedRow) {
  ModDragList* installed = dialog->installed_list();
  installed->setCurrentItem(installed->topLevelItem(2));
  WhenModal<QMenu>([&](QMenu* menu) {
    menu->setActiveAction(menu->actions().at(1));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  emit installed->customContextMenuRequested(RowCentre(installed, 2));
  EXPECT_EQ(Rows(installed), (std::vector<std::string>{"[1.2.5] Airships", "[1.2.5] Balloons",
                                                       "[1.2.5] New n\\", "[1.1] Cannons"}));
}

// --- File requesters -----------------------------------------------------------------------

using InstanceDialogRequesterTest = InstanceDialogFixture;

TEST_F(InstanceDialogRequesterTest, IconThatIsNoImageIsRefusedAndAnImageIsShown) {
  oxlip::test::WriteFile(dir() + "notes.png", "plain text");
  QImage green(8, 8, QImage::Format_ARGB32);
  green.fill(QColor(0, 255, 0));
  ASSERT_TRUE(green.save(QString::fromStdString(dir() + "green.png")));
  Open();
  for (const char* name : {"notes.png", "green.png"}) {
    WhenModal<QFileDialog>([&](QFileDialog* requester) {
      EXPECT_EQ(requester->windowTitle().toStdString(), model->IconFileRequester().title);
      EXPECT_EQ(requester->nameFilters(),
                (QStringList{"Image (BMP,JPG,PNG) (*.bmp *.jpg *.png)", "All (*.*)"}));
      Choose(requester, dir() + name);
    });
    QTest::mouseClick(dialog->icon_button(), Qt::LeftButton);
  }
  EXPECT_EQ(messages, (std::vector<std::string>{"Oxlip|Fileformat is not supported!\n" + dir() +
                                                "notes.png"}));
  QImage shown = dialog->icon_button()->icon().pixmap(48, 48).toImage();
  EXPECT_EQ(QColor(shown.pixel(20, 20)), QColor(0, 255, 0));
  EXPECT_EQ(model->chosen_icon_file(), dir() + "green.png");
}

TEST_F(InstanceDialogRequesterTest, JavaAndLauncherRequestersFillTheirFields) {
  oxlip::test::WriteFile(dir() + "jdk/bin/java", "");
  oxlip::test::WriteFile(dir() + "magic.jar", "");
  Open();
  WhenModal<QFileDialog>(
      [&](QFileDialog* requester) { Choose(requester, dir() + "jdk/bin/java"); });
  QTest::mouseClick(dialog->java_button(), Qt::LeftButton);
  EXPECT_EQ(dialog->java_field()->text().toStdString(), dir() + "jdk/bin/");

  WhenModal<QFileDialog>([&](QFileDialog* requester) {
    EXPECT_EQ(requester->selectedNameFilter(), "jar (*.jar)");
    Choose(requester, dir() + "magic.jar");
  });
  QTest::mouseClick(dialog->launcher_button(), Qt::LeftButton);
  EXPECT_EQ(dialog->launcher_field()->text().toStdString(), dir() + "magic.jar");
}

}  // namespace
}  // namespace oxlip::gui

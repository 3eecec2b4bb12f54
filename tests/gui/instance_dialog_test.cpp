// The real instance dialog over a model of a record with mods and versions: what it shows, the
// events that reach the model and its layout at twice the size (run again with QT_SCALE_FACTOR=2).
// Under Xvfb, its tabs are photographed.
#include "gui/instance_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <cstdlib>

#include "app/instance_dialog_model.h"
#include "gui_fixture.h"

namespace oxlip::gui {
namespace {

using Rows = std::vector<std::string>;

class InstanceConfigDialogTest : public test::MainWindowFixture {
 protected:
  InstanceConfigDialogTest() {
    record.Icon = instances::InstanceIcon(default_icon);
    record.Name = "Alpha";
    record.Mods = {"c\\", "a\\"};
    record.AltLauncher = "/games/magic.jar";
    record.JavaPath = "/opt/java/bin/";
    services.new_mod = [this] { return AddMod("n\\"); };
    services.import_mod = [this](const std::string& file) {
      imported.push_back(file);
      return AddMod("i\\");
    };
    services.scan_mods = [this] { return library; };
    services.login = [this](launch::Credentials&) { return ++logins < 0; };
  }

  std::string AddMod(const std::string& dir) {
    library.insert(library.begin() + 1, {dir, "1.2.5", "New " + dir, "1_aa"});
    return dir;
  }

  void OpenDialog() {
    model = std::make_unique<app::InstanceDialogModel>(record, versions, library, services);
    dialog = std::make_unique<InstanceConfigDialog>(nullptr, *model);
    dialog->show();
    QApplication::processEvents();
  }

  static Rows RowsOf(const QTreeWidget* list) {
    Rows rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      rows.push_back(list->topLevelItem(i)->text(0).toStdString());
    return rows;
  }
  static QPoint RowCentre(QTreeWidget* list, int row) {
    return list->visualItemRect(list->topLevelItem(row)).center();
  }
  // Selects the row and starts a drag from it as a mouse drag would.
  static std::unique_ptr<QMimeData> DragFrom(ModDragList* list, int row) {
    list->setCurrentItem(list->topLevelItem(row));
    emit list->dragStarting();
    return std::unique_ptr<QMimeData>(list->NewDragData());
  }
  // Types the path into the requester's file name field and confirms, as a person would; the
  // requester checks that the file exists.
  static void Choose(QFileDialog* requester, const std::string& path) {
    auto* name = requester->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(requester)->accept();
  }

  instances::DefaultIcon default_icon{image::Image{1, 1, {200, 0, 0, 255}}};
  Instance record;
  std::vector<std::string> versions = {"minecraft - 1.2.5.jar", "minecraft - 1.1.jar"};
  ModList library = {{"a\\", "1.2.5", "Airships", "1_a"},
                     {"b\\", "1.2.5", "Balloons", "1_b"},
                     {"c\\", "1.1", "Cannons", "2_c"},
                     {"d\\", "1.1", "Dirigibles", "2_d"}};
  app::InstanceDialogModel::Services services;
  std::unique_ptr<app::InstanceDialogModel> model;
  std::unique_ptr<InstanceConfigDialog> dialog;
  std::vector<std::string> imported;
  int logins = 0;
};

// What the dialog shows of the record; every gadget of every tab whole and inside the dialog, at
// twice the text size as well (the dialog grows rather than cutting them). Under a real X server
// (dialog_screenshots.sh) each tab is photographed into OXLIP_SCREENSHOTS.
TEST_F(InstanceConfigDialogTest, ShowsTheRecordWithEveryGadgetWhole) {
  record.MineCraftFile = "minecraft - 1.1.jar";
  record.LoginCrypt = "stored";
  record.MinMemory = 256;
  OpenDialog();
  EXPECT_EQ(dialog->title_field()->text(), "Alpha");
  EXPECT_TRUE(dialog->pinned_option()->isChecked());
  EXPECT_EQ(dialog->version_list()->currentText(), "minecraft - 1.1.jar");
  EXPECT_TRUE(dialog->auto_login_box()->isChecked());
  EXPECT_EQ(dialog->min_memory_field()->text(), "256");
  EXPECT_EQ(dialog->launcher_field()->text(), "/games/magic.jar");
  EXPECT_TRUE(dialog->launcher_field()->isReadOnly());
  EXPECT_EQ(dialog->java_field()->text(), "/opt/java/bin/");
  EXPECT_EQ(RowsOf(dialog->installed_list()), (Rows{"[1.1] Cannons", "[1.2.5] Airships"}));
  EXPECT_EQ(RowsOf(dialog->available_list()), (Rows{"[1.2.5] Balloons", "[1.1] Dirigibles"}));
  QImage shown = dialog->icon_button()->icon().pixmap(48, 48).toImage();
  EXPECT_EQ(QColor(shown.pixel(20, 20)), QColor(200, 0, 0));
  // The version options are one group.
  ASSERT_NE(dialog->release_option()->group(), nullptr);
  EXPECT_EQ(dialog->release_option()->group()->buttons().size(), 3);
  EXPECT_EQ(dialog->pinned_option()->group(), dialog->release_option()->group());
  const char* folder = std::getenv("OXLIP_SCREENSHOTS");
  bool photograph = folder && QGuiApplication::platformName() == "xcb" && QDir().mkpath(folder);
  QString suffix = dialog->devicePixelRatioF() > 1.5 ? "@2x" : "";
  const char* names[] = {"general", "java", "modification"};
  QFont font = dialog->font();
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    font.setPointSizeF(dialog->font().pointSizeF() * scale);
    dialog->setFont(font);
    for (int tab = 0; tab < dialog->tabs()->count(); ++tab) {
      SCOPED_TRACE(tab);
      dialog->tabs()->setCurrentIndex(tab);
      QApplication::processEvents();
      test::ExpectUsable(dialog->tabs()->widget(tab), dialog.get(),
                         {dialog->ok_button(), dialog->cancel_button()});
      QString file = QString(folder) + "/instance-dialog-" + names[tab] + suffix + ".png";
      EXPECT_TRUE(!photograph || scale > 1 || dialog->grab().save(file)) << file.toStdString();
    }
  }
}

// Every gadget's event reaches the model and what the model changed is drawn again: keys, clicks,
// a double click as the window system sends it, drags with the row under the pointer (those of
// another dialog or onto their own list refused), a dropped file imported once the drop is
// answered, the mod menu, and the requesters. Where each lands is the model's rule.
TEST_F(InstanceConfigDialogTest, EveryGadgetReachesTheModel) {
  test::WriteFile(dir() + "jdk/bin/java", "");
  test::WriteFile(dir() + "magic.jar", "");
  SaveIcon(dir() + "green.png", Qt::green);
  OpenDialog();
  test::WhenUp<QFileDialog>([&](QFileDialog* requester) {
    EXPECT_EQ(requester->windowTitle().toStdString(), model->IconFileRequester().title);
    Choose(requester, dir() + "green.png");
  });
  QTest::mouseClick(dialog->icon_button(), Qt::LeftButton);
  QImage shown = dialog->icon_button()->icon().pixmap(48, 48).toImage();
  EXPECT_EQ(QColor(shown.pixel(20, 20)), QColor(0, 255, 0));
  dialog->version_list()->setFocus();
  QTest::keyClick(dialog->version_list(), Qt::Key_Down);
  EXPECT_TRUE(dialog->pinned_option()->isChecked());
  dialog->title_field()->selectAll();
  QTest::keyClicks(dialog->title_field(), "Skyworld");
  QCheckBox* box = dialog->auto_login_box();
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
  EXPECT_EQ(logins, 1);
  EXPECT_FALSE(box->isChecked());  // the login was cancelled

  dialog->tabs()->setCurrentIndex(1);
  QLineEdit* max = dialog->max_memory_field();
  max->selectAll();
  QTest::keyClicks(max, "2x048");  // only digits get in
  EXPECT_EQ(max->text(), "2048");
  for (auto [button, file] : {std::pair{dialog->java_button(), "jdk/bin/java"},
                              std::pair{dialog->launcher_button(), "magic.jar"}}) {
    test::WhenUp<QFileDialog>([&](QFileDialog* requester) { Choose(requester, dir() + file); });
    QTest::mouseClick(button, Qt::LeftButton);
  }
  EXPECT_EQ(dialog->java_field()->text().toStdString(), dir() + "jdk/bin/");
  EXPECT_EQ(dialog->launcher_field()->text().toStdString(), dir() + "magic.jar");

  dialog->tabs()->setCurrentIndex(2);
  QApplication::processEvents();
  ModDragList* installed = dialog->installed_list();
  ModDragList* available = dialog->available_list();
  QWidget* target = available->viewport();
  QPoint row = RowCentre(available, 1);
  QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, row);
  QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, row);
  QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, row);
  QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, row);
  EXPECT_EQ(RowsOf(available), (Rows{"[1.2.5] Balloons"}));
  auto data = DragFrom(available, 0);
  EXPECT_EQ(test::DropOn(available->viewport(), RowCentre(available, 0), data.get()),
            Qt::IgnoreAction);
  Instance other_record;
  app::InstanceDialogModel other_model(other_record, {}, library, {});
  InstanceConfigDialog other(nullptr, other_model);
  std::unique_ptr<QMimeData> foreign(other.installed_list()->NewDragData());
  EXPECT_EQ(test::DropOn(installed->viewport(), RowCentre(installed, 1), foreign.get()),
            Qt::IgnoreAction);
  EXPECT_NE(test::DropOn(installed->viewport(), RowCentre(installed, 1), data.get()),
            Qt::IgnoreAction);
  data = DragFrom(installed, 0);
  EXPECT_NE(test::DropOn(installed->viewport(), RowCentre(installed, 2), data.get()),
            Qt::IgnoreAction);
  EXPECT_EQ(RowsOf(installed),
            (Rows{"[1.2.5] Balloons", "[1.2.5] Airships", "[1.1] Cannons", "[1.1] Dirigibles"}));
  EXPECT_EQ(installed->SelectedRow(), 2);
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/downloads/first.zip")});
  EXPECT_NE(test::DropOn(installed->viewport(), RowCentre(installed, 1), &files), Qt::IgnoreAction);
  EXPECT_TRUE(imported.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(imported, (Rows{"/downloads/first.zip"}));
  installed->setCurrentItem(installed->topLevelItem(3));
  test::WhenUp<QMenu>([&](QMenu* menu) {
    menu->setActiveAction(menu->actions().at(1));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  emit installed->customContextMenuRequested(RowCentre(installed, 3));
  EXPECT_EQ(RowsOf(installed), (Rows{"[1.2.5] Balloons", "[1.2.5] New i\\", "[1.2.5] Airships",
                                     "[1.2.5] New n\\", "[1.1] Cannons", "[1.1] Dirigibles"}));

  QTest::mouseClick(dialog->ok_button(), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  model->Confirm();
  EXPECT_EQ(record.Name, "Skyworld");
  EXPECT_EQ(record.MineCraftFile, "minecraft - 1.1.jar");
  EXPECT_EQ(record.MaxMemory, 2048);
  EXPECT_EQ(model->chosen_icon_file(), dir() + "green.png");
  EXPECT_EQ(record.Mods, (Rows{"b\\", "i\\", "a\\", "n\\", "c\\", "d\\"}));
}

}  // namespace
}  // namespace oxlip::gui

// The mod dialog drawn offscreen over a real workspace: layout, browsing, drags between the
// lists and files from the desktop.
#include "gui/mod_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "app/startup.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "mods/mod_workspace.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::gui {
namespace {

using app::kJarList;
using app::kRootList;
using app::kUnusedList;

// The lists read their folders on a thread of Qt's own: wait for what is expected to show.
bool ShowsSoon(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(20000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

class ModDialogTest : public test::InTempFolder {
 protected:
  ModDialogTest() {
    mods::CreateWorkspaceFolders(workspace);
    versions = {{"minecraft - 1.2.5.jar", "1.2.5", 2}, {"minecraft - b1.7.3.jar", "b1.7.3", 1}};
  }

  void Open() {
    model = std::make_unique<app::ModDialogModel>(workspace, versions, record);
    dialog = std::make_unique<ModDialog>(nullptr, *model);
    dialog->show();
  }

  bool Shows(int list, QStringList names) {
    names.sort();
    return ShowsSoon([&] {
      QStringList shown = dialog->file_list(list)->ShownNames();
      shown.sort();
      return shown == names;
    });
  }

  // What a drag does when it ends over `list` (on the item `item`, or on empty space).
  bool Drop(int list, const QMimeData* data, const QString& item = QString()) {
    ModFileList* target = dialog->file_list(list);
    QPoint at(target->viewport()->width() / 2, target->viewport()->height() - 5);
    if (!item.isEmpty()) {
      for (int row = 0; row < target->model()->rowCount(target->rootIndex()); ++row) {
        QModelIndex index = target->model()->index(row, 0, target->rootIndex());
        if (index.data().toString() == item) at = target->visualRect(index).center();
      }
    }
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &drop);
    return drop.isAccepted();
  }

  std::string workspace = dir() + "ws/";
  versions::VersionList versions;
  ModRecord record{"", "b1.7.3", "proposed", ""};
  std::unique_ptr<app::ModDialogModel> model;
  std::unique_ptr<ModDialog> dialog;
};

TEST_F(ModDialogTest, ShowsTheRecordAndTheFieldsReachTheModel) {
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Create new mod");
  EXPECT_EQ(dialog->version_box()->count(), 3);
  EXPECT_EQ(dialog->version_box()->currentText(), "b1.7.3");
  EXPECT_EQ(dialog->name_field()->text(), "proposed");
  for (int list : {kJarList, kRootList, kUnusedList})
    EXPECT_EQ(dialog->file_list(list)->selectionMode(), QAbstractItemView::ExtendedSelection);
  dialog->version_box()->setCurrentIndex(1);
  dialog->name_field()->setText("Typed");
  dialog->ok_button()->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(model->name(), "Typed");
  EXPECT_EQ(model->selected_version(), 1);
}

TEST_F(ModDialogTest, DoubleClickEntersAFolderWithoutAParentEntryAndUpGoesBack) {
  test::WriteFile(workspace + "root/config/a.cfg", "a");
  Open();
  ModFileList* list = dialog->file_list(kRootList);
  ASSERT_TRUE(Shows(kRootList, {"bin", "config", "mods", "resources"}));
  QModelIndex config;
  for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
    if (list->model()->index(row, 0, list->rootIndex()).data().toString() == "config")
      config = list->model()->index(row, 0, list->rootIndex());
  emit list->doubleClicked(config);
  EXPECT_EQ(dialog->path_field(kRootList)->text(), "\\config\\");
  EXPECT_TRUE(Shows(kRootList, {"a.cfg"}));
  dialog->up_button(kRootList)->click();
  EXPECT_EQ(dialog->path_field(kRootList)->text(), "\\");
  EXPECT_TRUE(Shows(kRootList, {"bin", "config", "mods", "resources"}));
}

TEST_F(ModDialogTest, DraggingItemsBetweenListsMovesThemOnDisk) {
  test::WriteFile(workspace + "unused/Mod.class", "c");
  test::WriteFile(workspace + "unused/gui/items.png", "i");
  test::WriteFile(workspace + "unused/notes.txt", "n");
  Open();
  ModFileList* unused = dialog->file_list(kUnusedList);
  ASSERT_TRUE(Shows(kUnusedList, {"Mod.class", "gui", "notes.txt"}));
  unused->SelectNames({"Mod.class", "gui"});
  std::unique_ptr<QMimeData> data(unused->BeginDrag());
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(Drop(kJarList, data.get()));
  EXPECT_TRUE(std::filesystem::exists(workspace + "minecraft.jar/gui/items.png"));
  // Both lists follow the change on disk by themselves.
  EXPECT_TRUE(Shows(kJarList, {"Mod.class", "gui"}));
  EXPECT_TRUE(Shows(kUnusedList, {"notes.txt"}));
  // Onto a folder item: into that folder.
  unused->SelectNames({"notes.txt"});
  data.reset(unused->BeginDrag());
  EXPECT_TRUE(Drop(kRootList, data.get(), "config"));
  EXPECT_TRUE(std::filesystem::exists(workspace + "root/config/notes.txt"));
}

TEST_F(ModDialogTest, DesktopFilesAreTakenByTheFirstListButRefusedByTheThird) {
  test::WriteFile(dir() + "desktop/Extra.class", "e");
  Open();
  QMimeData desktop;
  desktop.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir() + "desktop/Extra.class"))});
  EXPECT_FALSE(Drop(kUnusedList, &desktop));
  EXPECT_FALSE(std::filesystem::exists(workspace + "unused/Extra.class"));
  EXPECT_TRUE(Drop(kJarList, &desktop));
  EXPECT_EQ(test::ReadFile(workspace + "minecraft.jar/Extra.class"), "e");
  EXPECT_TRUE(Shows(kJarList, {"Extra.class"}));
  EXPECT_TRUE(std::filesystem::exists(dir() + "desktop/Extra.class"));
}

// The whole way of a file dropped on the main window's mod list: unpacking behind the status
// window, the dialog over the main window, packing, the list refilled.
TEST_F(ModDialogTest, AFileDroppedOnTheModListIsImportedThroughTheDialog) {
  test::WriteFile(dir() + "pack/config/first.cfg", "first");
  ASSERT_EQ(test::SevenZipProgram(dir() + "pack", "a -tzip ../first.zip config"), 0);
  app::AppState state;
  ASSERT_TRUE(app::StartUp(state));
  MainWindow window(state);
  QtUi ui(&window);
  window.set_ui(&ui);
  window.show();
  app::FillLists(state, ui);
  QStringList titles;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<ModDialog*>(QApplication::activeModalWidget())) {
      titles << dialog->name_field()->text();
      dialog->name_field()->setText("Dropped");
      dialog->ok_button()->click();
    }
  });
  answer.start(20);
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir() + "first.zip"))});
  ReportListView* list = window.mod_list();
  QPoint at = list->viewport()->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &enter);
  QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &drop);
  EXPECT_TRUE(state.mods.empty());  // the drop returns before the import starts
  EXPECT_TRUE(ShowsSoon([&] { return list->topLevelItemCount() == 1; }));
  EXPECT_EQ(titles, QStringList{"first"});
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Dropped");
  EXPECT_TRUE(window.isEnabled());
  EXPECT_FALSE(std::filesystem::exists(state.settings.CacheDir + "unzipped"));
}

}  // namespace
}  // namespace oxlip::gui

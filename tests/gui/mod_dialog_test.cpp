// The mod dialog drawn offscreen over a real workspace: its fields, browsing, drags between the
// lists and files from the desktop.
#include "gui/mod_dialog.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "gui_fixture.h"
#include "mods/mod_workspace.h"

namespace oxlip::gui {
namespace {

using app::kJarList;
using app::kRootList;
using app::kUnusedList;

class ModDialogTest : public test::InTempFolder {
 protected:
  void OpenDialog() {
    mods::CreateWorkspaceFolders(workspace);
    versions::VersionList versions = {{"minecraft - 1.2.5.jar", "1.2.5", 2},
                                      {"minecraft - b1.7.3.jar", "b1.7.3", 1}};
    model = std::make_unique<app::ModDialogModel>(workspace, versions, record);
    dialog = std::make_unique<ModDialog>(nullptr, *model);
    dialog->show();
  }

  // The lists read their folders on a thread of Qt's own: waits for what is expected to show.
  bool Shows(int list, QStringList names) {
    names.sort();
    return QTest::qWaitFor(
        [&] {
          QStringList shown = dialog->file_list(list)->ShownNames();
          shown.sort();
          return shown == names;
        },
        20000);
  }

  // The row of `item` in the list's current folder.
  QModelIndex Find(ModFileList* list, const QString& item) {
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
      if (list->model()->index(row, 0, list->rootIndex()).data().toString() == item)
        return list->model()->index(row, 0, list->rootIndex());
    return {};
  }

  // Whether a drag that ends over `list` (on `item`, or on empty space) is taken.
  bool Drop(int list, const QMimeData* data, const QString& item = QString()) {
    ModFileList* target = dialog->file_list(list);
    QPoint at(target->viewport()->width() / 2, target->viewport()->height() - 5);
    if (!item.isEmpty()) at = target->visualRect(Find(target, item)).center();
    return test::DropOn(target->viewport(), at, data, Qt::CopyAction | Qt::MoveAction) !=
           Qt::IgnoreAction;
  }

  std::string workspace = dir() + "ws/";
  ModRecord record{"", "b1.7.3", "proposed", ""};
  std::unique_ptr<app::ModDialogModel> model;
  std::unique_ptr<ModDialog> dialog;
};

// What it shows of the record, browsing by double click and "Up", and the fields on OK.
TEST_F(ModDialogTest, ShowsTheRecordBrowsesAndTheFieldsReachTheModel) {
  test::WriteFile(workspace + "root/config/a.cfg", "a");
  OpenDialog();
  EXPECT_EQ(dialog->version_box()->currentText(), "b1.7.3");
  EXPECT_EQ(dialog->name_field()->text(), "proposed");
  for (int list : {kJarList, kRootList, kUnusedList})
    EXPECT_EQ(dialog->file_list(list)->selectionMode(), QAbstractItemView::ExtendedSelection);
  ModFileList* list = dialog->file_list(kRootList);
  ASSERT_TRUE(Shows(kRootList, {"bin", "config", "mods", "resources"}));
  emit list->doubleClicked(Find(list, "config"));
  EXPECT_EQ(dialog->path_field(kRootList)->text(), "\\config\\");
  EXPECT_TRUE(Shows(kRootList, {"a.cfg"}));
  dialog->up_button(kRootList)->click();
  EXPECT_EQ(dialog->path_field(kRootList)->text(), "\\");
  EXPECT_TRUE(Shows(kRootList, {"bin", "config", "mods", "resources"}));
  dialog->version_box()->setCurrentIndex(1);
  dialog->name_field()->setText("Typed");
  dialog->ok_button()->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(model->name(), "Typed");
  EXPECT_EQ(model->selected_version(), 1);
}

// Which list takes what is the model's rule; here, drags and desktop files reach it and the lists
// follow the change on disk by themselves.
TEST_F(ModDialogTest, DragsBetweenListsAndDesktopFilesReachTheDisk) {
  for (const char* file : {"Mod.class", "gui/items.png", "notes.txt"})
    test::WriteFile(workspace + "unused/" + file, "c");
  test::WriteFile(dir() + "desktop/Extra.class", "e");
  OpenDialog();
  ModFileList* unused = dialog->file_list(kUnusedList);
  ASSERT_TRUE(Shows(kUnusedList, {"Mod.class", "gui", "notes.txt"}));
  unused->SelectNames({"Mod.class", "gui"});
  std::unique_ptr<QMimeData> data(unused->BeginDrag());
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(Drop(kJarList, data.get()));
  EXPECT_TRUE(std::filesystem::exists(workspace + "minecraft.jar/gui/items.png"));
  EXPECT_TRUE(Shows(kJarList, {"Mod.class", "gui"}));
  EXPECT_TRUE(Shows(kUnusedList, {"notes.txt"}));
  unused->SelectNames({"notes.txt"});
  data.reset(unused->BeginDrag());
  EXPECT_TRUE(Drop(kRootList, data.get(), "config"));  // onto a folder: into it
  EXPECT_TRUE(std::filesystem::exists(workspace + "root/config/notes.txt"));

  QMimeData desktop;
  desktop.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir() + "desktop/Extra.class"))});
  EXPECT_FALSE(Drop(kUnusedList, &desktop));
  EXPECT_TRUE(Drop(kJarList, &desktop));
  EXPECT_TRUE(Shows(kJarList, {"Extra.class", "Mod.class", "gui"}));
  EXPECT_TRUE(std::filesystem::exists(dir() + "desktop/Extra.class"));
}

}  // namespace
}  // namespace oxlip::gui

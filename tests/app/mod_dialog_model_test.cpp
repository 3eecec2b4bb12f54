#include "app/mod_dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mods/mod_workspace.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::app {
namespace {

using Names = std::set<std::string>;

class ModDialogModelTest : public test::InTempFolder {
 protected:
  ModDialogModelTest() {
    mods::CreateWorkspaceFolders(workspace);
    versions = {{"minecraft - 1.2.5.jar", "1.2.5", 2}, {"minecraft - b1.7.3.jar", "b1.7.3", 1}};
  }
  Names Tree(const std::string& part) { return test::TreeNames(dir() + "ws/" + part); }

  std::string workspace = dir() + "ws\\";
  versions::VersionList versions;
  ModRecord record{"", "b1.7.3", "proposed", ""};
};

// The versions start with "all" and the record's one is selected; only a confirm changes the
// record.
TEST_F(ModDialogModelTest, VersionsStartWithAllAndOnlyConfirmChangesTheRecord) {
  ModDialogModel model(workspace, versions, record);
  EXPECT_EQ(model.version_choices(), (std::vector<std::string>{"all", "1.2.5", "b1.7.3"}));
  EXPECT_EQ(model.selected_version(), 2);
  EXPECT_EQ(model.name(), "proposed");
  for (const char* version : {"9.9", ""}) {
    ModRecord other{"", version, "x", ""};
    EXPECT_EQ(ModDialogModel(workspace, versions, other).selected_version(), 0);
  }
  model.SelectVersion(0);
  model.SetName("");
  EXPECT_EQ(record.Name, "proposed");
  model.Confirm();
  EXPECT_EQ(record.Version + "|" + record.Name, "all|");
}

TEST_F(ModDialogModelTest, BrowsingIntoFoldersAndBackUp) {
  test::WriteFile(dir() + "ws/root/config/sub/a.cfg", "a");
  ModDialogModel model(workspace, versions, record);
  EXPECT_EQ(model.PathField(kRootList), "\\");
  EXPECT_FALSE(model.Enter(kRootList, "missing"));
  EXPECT_TRUE(model.Enter(kRootList, "config"));
  EXPECT_TRUE(model.Enter(kRootList, "sub"));
  EXPECT_FALSE(model.Enter(kRootList, "a.cfg"));  // a file: nothing happens
  EXPECT_FALSE(model.Enter(kRootList, ".."));
  EXPECT_FALSE(model.Enter(kJarList, "../root"));
  EXPECT_EQ(model.PathField(kRootList), "\\config\\sub\\");
  EXPECT_EQ(model.ShownFolder(kRootList), workspace + "root\\config\\sub\\");
  EXPECT_EQ(model.PathField(kJarList), "\\");
  EXPECT_TRUE(model.Up(kRootList));
  EXPECT_EQ(model.PathField(kRootList), "\\config\\");
  EXPECT_TRUE(model.Up(kRootList));
  EXPECT_FALSE(model.Up(kRootList));
  EXPECT_EQ(model.PathField(kRootList), "\\");
}

TEST_F(ModDialogModelTest, DraggedItemsMoveIntoTheListsFolderOrItsCurrentFolderItem) {
  test::WriteFile(dir() + "ws/unused/a.class", "a");
  test::WriteFile(dir() + "ws/unused/gui/x.png", "x");
  test::WriteFile(dir() + "ws/root/config/b.cfg", "old");
  test::WriteFile(dir() + "ws/unused/b.cfg", "new");
  ModDialogModel model(workspace, versions, record);
  model.StartDrag(kUnusedList, {"a.class", "gui"});
  EXPECT_EQ(model.drag_list(),
            (std::vector<std::string>{workspace + "unused\\a.class", workspace + "unused\\gui"}));
  model.DropDragged(kJarList, "");
  EXPECT_TRUE(model.drag_list().empty());
  EXPECT_EQ(Tree("minecraft.jar"), (Names{"a.class", "gui/", "gui/x.png"}));
  // A file as current item: the list's folder; a folder: into it, replacing a file there.
  model.StartDrag(kUnusedList, {"b.cfg"});
  model.DropDragged(kRootList, "config");
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/config/b.cfg"), "new");
  EXPECT_TRUE(Tree("unused").empty());
  // An item that vanished since the drag is left alone.
  test::WriteFile(dir() + "ws/unused/gone.txt", "g");
  model.StartDrag(kUnusedList, {"gone.txt"});
  std::filesystem::remove(dir() + "ws/unused/gone.txt");
  Names before = Tree("");
  model.DropDragged(kRootList, "");
  EXPECT_EQ(Tree(""), before);
}

TEST_F(ModDialogModelTest, DropsIntoItselfOrWhereItAlreadyLiesAreSkipped) {
  test::WriteFile(dir() + "ws/root/mods/a.jar", "a");
  test::WriteFile(dir() + "ws/root/mods2/b.jar", "b");
  ModDialogModel model(workspace, versions, record);
  Names before = Tree("root");
  model.StartDrag(kRootList, {"mods"});
  model.DropDragged(kRootList, "mods");  // onto itself
  model.StartDrag(kRootList, {"mods"});
  model.DropDragged(kRootList, "");  // where it already lies
  model.Enter(kRootList, "mods");
  model.StartDrag(kRootList, {"a.jar"});
  model.Up(kRootList);
  model.DropDragged(kRootList, "");  // onto an ancestor of its folder
  EXPECT_EQ(Tree("root"), before);
  // A folder whose name begins another's is no part of it.
  model.StartDrag(kRootList, {"mods"});
  model.DropDragged(kRootList, "mods2");
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/mods2/mods/a.jar"), "a");
}

TEST_F(ModDialogModelTest, DesktopFilesAreCopiedIntoTheFirstTwoListsOnly) {
  test::WriteFile(dir() + "desk/one.txt", "1");
  test::WriteFile(dir() + "desk/pack/deep/two.txt", "2");
  test::WriteFile(dir() + "ws/minecraft.jar/a.class", "a");
  test::WriteFile(dir() + "ws/root/config/one.txt", "old");
  ModDialogModel model(workspace, versions, record);
  std::string dropped = dir() + "desk/one.txt\n" + dir() + "desk/pack\r\n";
  EXPECT_FALSE(model.DropShellFiles(kUnusedList, "", dropped));
  EXPECT_TRUE(Tree("unused").empty());
  ASSERT_TRUE(model.Enter(kRootList, "config"));
  EXPECT_TRUE(model.DropShellFiles(kRootList, "", dropped));
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/config/one.txt"), "1");
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/config/pack/deep/two.txt"), "2");
  EXPECT_EQ(test::ReadFile(dir() + "desk/one.txt"), "1");  // copied, not moved
  EXPECT_TRUE(model.DropShellFiles(kJarList, "", dir() + "desk/one.txt"));
  EXPECT_EQ(Tree("minecraft.jar"), (Names{"a.class", "one.txt"}));
  // The workspace itself, dropped onto one of its own parts, is not copied.
  Names before = Tree("");
  EXPECT_TRUE(model.DropShellFiles(kRootList, "", dir() + "ws"));
  EXPECT_EQ(Tree(""), before);
}

}  // namespace
}  // namespace oxlip::app

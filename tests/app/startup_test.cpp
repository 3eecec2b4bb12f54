#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_view.h"
#include "platform/fs.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

class StartupTest : public test::InTempFolder {
 protected:
  void MakeInstance(const std::string& folder, const std::string& name) {
    std::filesystem::create_directories(dir() + "Instances/" + folder);
    test::WriteFile(dir() + "Instances/" + folder + "/settings.ini", "Name = " + name + "\r\n");
  }

  // Starts as the program does, with the window drawing nothing.
  void Start() {
    ASSERT_TRUE(app::StartUp(state));
    app::FillLists(state, ui);
  }

  std::vector<std::string> ListedFolders() const {
    std::vector<std::string> folders;
    for (const Instance* record : state.instance_list) folders.push_back(record->Folder);
    return folders;
  }

  std::vector<std::string> DirectoryOrder() const {
    std::vector<std::string> folders;
    for (const auto& entry : platform::ListFolder(dir() + "Instances/"))
      if (entry.is_folder) folders.push_back(entry.name);
    return folders;
  }

  app::AppState state;
  test::ScriptedUi ui;
};

TEST_F(StartupTest, SortFileOrderFirstThenTheRestInDirectoryOrder) {
  for (std::string f : {"alpha", "beta", "gamma", "delta"}) MakeInstance(f, f + " name");
  test::WriteFile(dir() + "Instances/sort.ini", "gamma\r\ngone\r\nALPHA\r\nalpha\r\ngamma\r\n");
  Start();
  std::vector<std::string> expected = {"gamma", "alpha"};
  for (const std::string& folder : DirectoryOrder())
    if (folder != "gamma" && folder != "alpha") expected.push_back(folder);
  EXPECT_EQ(ListedFolders(), expected);
  for (const Instance* record : state.instance_list) EXPECT_EQ(record->Listed, 1);
  EXPECT_EQ(state.instance_list[0]->Name, "gamma name");
}

TEST_F(StartupTest, WithoutSortFileEveryInstanceInDirectoryOrder) {
  for (std::string f : {"one", "two", "three"}) MakeInstance(f, f);
  test::WriteFile(dir() + "Instances/not-a-folder.txt", "x");
  Start();
  EXPECT_EQ(ListedFolders(), DirectoryOrder());
  EXPECT_EQ(state.instances.size(), 3u);
}

TEST_F(StartupTest, TheBuiltInIconFillsInOnlyForAMissingDefaultIconFile) {
  std::string icon =
      test::ReadFile(std::string(OXLIP_SOURCE_DIR) + "/src/gui/icons/default_instance.png");
  ASSERT_TRUE(app::StartUp(state, app::StartFiles{"", icon}));
  EXPECT_EQ(test::ReadFile(dir() + "Icons/Default.png"), icon);
  EXPECT_NE(state.default_icon.image(), nullptr);

  test::WriteFile(dir() + "Icons/Default.png", "mine");
  app::AppState again;
  ASSERT_TRUE(app::StartUp(again, app::StartFiles{"", icon}));
  EXPECT_EQ(test::ReadFile(dir() + "Icons/Default.png"), "mine");
}

TEST_F(StartupTest, TheWindowIsToldOfEachListOnceAndTheSelectionIsReset) {
  MakeInstance("one", "one");
  state.selection.row = 4;
  Start();
  EXPECT_EQ(ui.lists_changed,
            (std::vector<app::ListKind>{app::ListKind::kVersions, app::ListKind::kMods,
                                        app::ListKind::kInstances}));
  EXPECT_EQ(state.selection.row, -1);
  EXPECT_EQ(state.selection.instance, nullptr);
}

TEST_F(StartupTest, DraggingTheFirstOfThreeOntoTheThirdIsWrittenAtTheEnd) {
  for (std::string f : {"a", "b", "c"}) MakeInstance(f, f);
  test::WriteFile(dir() + "Instances/sort.ini", "a\r\nstale\r\nb\r\nc\r\n");
  Start();
  app::StartInstanceDrag(state, 0);
  EXPECT_TRUE(app::DropInstance(state, 2));
  app::ShutDown(state);
  EXPECT_EQ(test::ReadFile(dir() + "Instances/sort.ini"), "b\r\nc\r\na\r\n");
  EXPECT_NE(test::ReadFile(dir() + "Oxlip.ini").find("WinW = 640\r\n"), std::string::npos);
}

TEST_F(StartupTest, DropsThatMoveNothing) {
  for (std::string f : {"a", "b", "c"}) MakeInstance(f, f);
  test::WriteFile(dir() + "Instances/sort.ini", "a\r\nb\r\nc\r\n");
  Start();
  app::StartInstanceDrag(state, 1);
  EXPECT_FALSE(app::DropInstance(state, 1));
  EXPECT_FALSE(app::DropInstance(state, -1));
  EXPECT_FALSE(app::DropInstance(state, 3));
  app::StartInstanceDrag(state, 2);
  EXPECT_TRUE(app::DropInstance(state, 0));  // upwards: lands before the drop row
  EXPECT_EQ(ListedFolders(), (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(StartupTest, AnUnwritableSortFileStillSavesTheSettings) {
  MakeInstance("a", "a");
  Start();
  std::filesystem::create_directories(dir() + "Instances/sort.ini");  // a folder in its place
  state.settings.WinW = 777;
  app::ShutDown(state);
  EXPECT_NE(test::ReadFile(dir() + "Oxlip.ini").find("WinW = 777\r\n"), std::string::npos);
}

}  // namespace
}  // namespace oxlip

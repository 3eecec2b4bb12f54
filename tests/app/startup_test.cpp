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
  // Instances named after their folders, and the sort file when `sort` is given.
  void Start(const std::vector<std::string>& folders, const char* sort = nullptr) {
    for (const std::string& f : folders)
      test::WriteFile(dir() + "Instances/" + f + "/settings.ini", "Name = " + f + " name\r\n");
    if (sort) test::WriteFile(dir() + "Instances/sort.ini", sort);
    ASSERT_TRUE(app::StartUp(state));
    app::FillLists(state, ui);
  }
  std::vector<std::string> ListedFolders() const {
    std::vector<std::string> folders;
    for (const Instance* record : state.instance_list) folders.push_back(record->Folder);
    return folders;
  }
  // The folders as the directory lists them, but `first` in front.
  std::vector<std::string> DirectoryOrder(std::vector<std::string> first = {}) const {
    for (const auto& entry : platform::ListFolder(dir() + "Instances/"))
      if (entry.is_folder && std::find(first.begin(), first.end(), entry.name) == first.end())
        first.push_back(entry.name);
    return first;
  }

  app::AppState state;
  test::ScriptedUi ui;
};

// The sort file's order first, each folder once, with any line end and exact letter case;
// then the rest in directory order. The window is told of each list once.
TEST_F(StartupTest, SortFileOrderFirstThenTheRestInDirectoryOrder) {
  state.selection.row = 4;
  Start({"alpha", "beta", "gamma", "delta"}, "gamma\ngone\rALPHA\r\nalpha\r\ngamma");
  EXPECT_EQ(ListedFolders(), DirectoryOrder({"gamma", "alpha"}));
  for (const Instance* record : state.instance_list) EXPECT_EQ(record->Listed, 1);
  EXPECT_EQ(state.instance_list[0]->Name, "gamma name");
  EXPECT_EQ(ui.lists_changed,
            (std::vector<app::ListKind>{app::ListKind::kVersions, app::ListKind::kMods,
                                        app::ListKind::kInstances}));
  EXPECT_EQ(state.selection.row, -1);
}

TEST_F(StartupTest, WithoutSortFileEveryInstanceInDirectoryOrder) {
  test::WriteFile(dir() + "Instances/not-a-folder.txt", "x");
  Start({"one", "two", "three"});
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

// Dragged down a row lands after the drop row, up before it; the order is written at the end.
TEST_F(StartupTest, DraggedRowsAreWrittenToTheSortFileAtTheEnd) {
  Start({"a", "b", "c"}, "a\r\nstale\r\nb\r\nc\r\n");
  for (auto [from, to] : {std::pair{1, 1}, {1, -1}, {1, 3}, {7, 0}}) {
    app::StartInstanceDrag(state, from);
    EXPECT_FALSE(app::DropInstance(state, to)) << from << " to " << to;
  }
  app::StartInstanceDrag(state, 0);
  EXPECT_TRUE(app::DropInstance(state, 2));
  EXPECT_EQ(ListedFolders(), (std::vector<std::string>{"b", "c", "a"}));
  app::StartInstanceDrag(state, 2);
  EXPECT_TRUE(app::DropInstance(state, 1));
  app::ShutDown(state);
  EXPECT_EQ(test::ReadFile(dir() + "Instances/sort.ini"), "b\r\na\r\nc\r\n");
  EXPECT_NE(test::ReadFile(dir() + "Oxlip.ini").find("WinW = 640\r\n"), std::string::npos);
}

TEST_F(StartupTest, AnUnwritableSortFileStillSavesTheSettings) {
  Start({"a"});
  std::filesystem::create_directories(dir() + "Instances/sort.ini");  // a folder in its place
  state.settings.WinW = 777;
  app::ShutDown(state);
  EXPECT_NE(test::ReadFile(dir() + "Oxlip.ini").find("WinW = 777\r\n"), std::string::npos);
}

}  // namespace
}  // namespace oxlip

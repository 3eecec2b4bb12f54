// The instance commands that go through the configuration dialog, end to end: the scripted Ui
// answers the dialog, the fixture mirror serves the game, real folders and archives.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/command_registry.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/startup.h"
#include "app/startup_update.h"
#include "base/error_text.h"
#include "instances/instance_dialog_model.h"
#include "platform/env.h"
#include "platform/fs.h"
#include "support/app_world.h"
#include "support/fixture_paths.h"
#include "versions/version_store.h"

namespace oxlip {
namespace {

using instances::InstanceDialogModel;
using RowChanges = std::vector<std::pair<int, RowChange>>;

class InstanceBuild : public test::AppWorld {
 protected:
  InstanceBuild() {
    RegisterCommands(state.commands);
    saved_data_ = platform::GetEnvironment("XDG_DATA_HOME");
    platform::SetEnvironment("XDG_DATA_HOME", dir() + "data");
  }
  ~InstanceBuild() override { platform::SetEnvironment("XDG_DATA_HOME", saved_data_); }

  // The dialog confirms after `edit` changed what it shows.
  void Confirm(std::function<void(InstanceDialogModel&)> edit = {}) {
    ui.on_instance_dialog = [edit](InstanceDialogModel& model) {
      if (edit) edit(model);
      return true;
    };
  }
  int Run(int id, int row = -1) {
    if (row >= 0) RightClickMenu(state, ListKind::kInstances, row);
    return RunMenuCommand(state, ui, id);
  }
  std::string Game(const Instance& record) {
    return state.settings.InstancesDir + record.Folder + "/.minecraft/";
  }
  int Downloads() {
    int count = 0;
    for (const std::string& line : Requests()) count += line.find("GET /download/") == 0;
    return count;
  }
  std::string saved_data_;
};

TEST_F(InstanceBuild, NewInstanceIsBuiltListedAndSaved) {
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  Confirm([](InstanceDialogModel& model) { model.fields().title = "Fresh world"; });
  ASSERT_EQ(Run(kCmdNewInstance), 1) << LastErrorText();
  ASSERT_EQ(state.instance_list.size(), 1u);
  const Instance& made = *state.instance_list[0];
  EXPECT_EQ(made.Name, "Fresh world");
  EXPECT_NE(made.Folder.find(" - Fresh_world"), std::string::npos);
  EXPECT_TRUE(platform::IsFile(Game(made) + "bin/minecraft.jar"));
  EXPECT_EQ(made.BetaVersion, 0);  // the release date is only known after the start-up check
  EXPECT_TRUE(platform::IsFile(state.settings.InstancesDir + made.Folder + "/settings.ini"));
  EXPECT_EQ(ui.progress_windows[0].title, "Download");
  EXPECT_EQ(ui.instance_rows_changed, (RowChanges{{0, RowChange::kAdded}}));
}

TEST_F(InstanceBuild, NewInstanceWhoseUpdateFailsAddsNothing) {
  state.settings.MCURL = "http://127.0.0.1:9/download/";
  Confirm();
  EXPECT_EQ(Run(kCmdNewInstance), 0);
  EXPECT_TRUE(state.instance_list.empty());
  EXPECT_TRUE(state.instances.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "DownloadMinecraft: Can't download download-file-list");
}

TEST_F(InstanceBuild, ACancelledDialogChangesNothing) {
  ui.on_instance_dialog = [](InstanceDialogModel&) { return false; };
  for (int id : {kCmdNewInstance, kCmdImportOriginal}) EXPECT_EQ(Run(id), 1);
  EXPECT_TRUE(state.instances.empty());
  EXPECT_TRUE(Listed(state.settings.InstancesDir).empty());
}

class WithInstance : public InstanceBuild {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ServeGame());
    Confirm([](InstanceDialogModel& model) { model.fields().title = "A"; });
    ASSERT_EQ(Run(kCmdNewInstance), 1) << LastErrorText();
    source = state.instance_list[0];
    test::WriteFile(Game(*source) + "saves/World1/level.dat", "level");
    platform::SetFileDate(Game(*source) + "saves/World1/level.dat", 1300000000);
  }
  Instance* source = nullptr;
};

TEST_F(WithInstance, CloneProposesACopyTitleAndCopiesTheGameFolderWithItsTimes) {
  std::string proposed;
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    proposed = model.fields().title;
    return true;
  };
  ASSERT_EQ(Run(kCmdClone, 0), 1) << LastErrorText();
  EXPECT_EQ(proposed, "A - copy");
  ASSERT_EQ(state.instance_list.size(), 2u);
  const Instance& clone = *state.instance_list[1];
  EXPECT_NE(clone.Folder.find(" - A_-_copy"), std::string::npos);
  EXPECT_EQ(test::ReadFile(Game(clone) + "saves/World1/level.dat"), "level");
  EXPECT_EQ(platform::FileDate(Game(clone) + "saves/World1/level.dat"), 1300000000);
  EXPECT_EQ(ui.status_shown.back().title, "Clone instance");
  EXPECT_EQ(ui.status_shown.back().text, "A - copy");
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(ui.instance_rows_changed.back(), RowChanges::value_type(1, RowChange::kAdded));
}

TEST_F(WithInstance, AFailedCloneCopyIsShownByItsOwnNameAndAddsNothing) {
  // A link to nothing cannot be copied, whoever runs the test.
  ASSERT_EQ(::symlink("gone", (Game(*source) + "saves/World1/broken").c_str()), 0);
  Confirm();
  EXPECT_EQ(Run(kCmdClone, 0), 0);
  EXPECT_EQ(state.instance_list.size(), 1u);
  EXPECT_EQ(ui.messages.back().text.rfind("Clone: Can't copy ", 0), 0u);
}

TEST_F(WithInstance, ConfigRebuildsOnlyWhenTheVersionOrTheModsChange) {
  int before = Downloads();
  Confirm([](InstanceDialogModel& model) { model.fields().title = "Renamed"; });
  ASSERT_EQ(Run(kCmdConfig, 0), 1);
  EXPECT_EQ(source->Name, "Renamed");
  // Only its row is drawn again, and it is the row selected afterwards.
  EXPECT_EQ(ui.instance_rows_changed.back(), RowChanges::value_type(0, RowChange::kEdited));
  EXPECT_EQ(ui.selected_instance_rows, std::vector<int>{0});
  EXPECT_EQ(Downloads(), before);
  EXPECT_EQ(ui.progress_windows.size(), 1u);  // only the one of the creation

  ScanVersions(state.settings, state.versions);
  test::WriteFile(state.settings.VersionsDir + "minecraft - 1.1.jar",
                  test::ReadFile(test::FixtureRoot() + "assets/1_1/minecraft.jar"));
  ScanVersions(state.settings, state.versions);
  Confirm([](InstanceDialogModel& model) { model.SelectVersion(0); });
  ASSERT_EQ(Run(kCmdConfig, 0), 1);
  EXPECT_EQ(source->MineCraftFile, "minecraft - 1.1.jar");
  EXPECT_EQ(ui.progress_windows.size(), 2u);
  EXPECT_EQ(test::ReadFile(Game(*source) + "bin/minecraft.jar"),
            test::ReadFile(test::FixtureRoot() + "assets/1_1/minecraft.jar"));
}

TEST_F(WithInstance, DeleteGoesToTheTrashAndTheNextStartNoLongerListsIt) {
  std::string folder = source->Folder;
  ASSERT_EQ(Run(kCmdDelete, 0), 1);
  EXPECT_TRUE(state.instance_list.empty());
  EXPECT_EQ(ui.instance_rows_changed.back(), RowChanges::value_type(0, RowChange::kRemoved));
  EXPECT_FALSE(platform::Exists(state.settings.InstancesDir + folder));
  EXPECT_EQ(test::ReadFile(dir() + "data/Trash/files/" + folder + "/.minecraft/saves/World1/" +
                           "level.dat"),
            "level");
  EXPECT_NE(test::ReadFile(dir() + "data/Trash/info/" + folder + ".trashinfo").find("Path="),
            std::string::npos);
  ShutDown(state);
  AppState next;
  next.settings = state.settings;
  LoadInstances(next);
  OrderInstances(next);
  EXPECT_TRUE(next.instance_list.empty());
}

TEST_F(WithInstance, ADeleteTheTrashRefusesKeepsTheInstanceListedAndSaysSo) {
  std::string folder(250, 'f');  // its trash record's name would be too long
  ASSERT_TRUE(platform::RenameFile(state.settings.InstancesDir + source->Folder,
                                   state.settings.InstancesDir + folder));
  source->Folder = folder;
  ASSERT_EQ(Run(kCmdDelete, 0), 1);
  EXPECT_EQ(state.instance_list.size(), 1u);
  EXPECT_TRUE(platform::IsFolder(state.settings.InstancesDir + folder + "\\.minecraft"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("Can't move"), std::string::npos);
}

TEST_F(WithInstance, ImportFromOriginalCopiesTheUsersOwnGameFolder) {
  state.settings.AppData = dir() + "home";
  test::WriteFile(dir() + "home/.minecraft/options.txt", "music:0");
  Confirm();
  ASSERT_EQ(Run(kCmdImportOriginal), 1) << LastErrorText();
  const Instance& imported = *state.instance_list.back();
  EXPECT_EQ(imported.Name, "Imported");
  EXPECT_EQ(test::ReadFile(Game(imported) + "options.txt"), "music:0");
  EXPECT_TRUE(platform::IsFile(Game(imported) + "bin/MinecraftLauncher.jar"));
  EXPECT_EQ(ui.status_shown.back().title, "Import original installation");
}

TEST_F(WithInstance, StartUpUpdatesTriesEveryChannelInstanceAndReportsOnce) {
  source->BetaVersion = 5;
  Confirm([](InstanceDialogModel& model) {
    model.fields().title = "B";
    model.fields().version = instances::VersionOption::kBeta;
  });
  ASSERT_EQ(Run(kCmdNewInstance), 1) << LastErrorText();
  state.instance_list[1]->BetaVersion = 7;
  ui.messages.clear();
  // The servers are down and the listings no longer cached: both dates are 0, and both
  // instances differ from that.
  mirror_->Stop();
  for (const std::string& name : Listed(state.settings.CacheDir))
    if (name.ends_with("-index.xml")) platform::DeleteFile(state.settings.CacheDir + name);
  state.dates = {};
  app::UpdateInstancesAtStart(state, ui);
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[2].text, "A update failed\nB update failed (beta)\n");
}

}  // namespace
}  // namespace oxlip

// The mod list's commands, run as the main window runs them, answered by a script.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_registry.h"
#include "app/dialog_requesters.h"
#include "app/main_view.h"
#include "app/mod_dialog_model.h"
#include "support/game_fixture.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

class ModCommandsTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    base::LoadGlobalSettings(state.settings);
    state.settings.LatestVersionNr = "1.2.5";
    state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1}};
    app::RegisterModCommands(state.commands);
  }

  void AddMod(const std::string& folder, const std::string& name) {
    test::WriteFile(state.settings.ModDir + folder + "/mod.ini",
                    "Name = " + name + "\r\nVersion = all\r\n");
    test::WriteFile(state.settings.ModDir + folder + "/root.7z", "");
    ScanMods(state.settings, state.versions, state.mods);
  }

  test::ScopedEnvironment trash_{"XDG_DATA_HOME", dir() + "data"};

  int RunOnRow(int id, int row) {
    app::RightClickMenu(state, app::ListKind::kMods, row);
    return app::RunMenuCommand(state, ui, id);
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const ModRecord& mod : state.mods) names.push_back(mod.Name);
    return names;
  }

  // Names the mod and puts one file for the game folder into the workspace.
  void ConfirmWithFile(const std::string& name) {
    test::WriteFile(dir() + "desk/options.txt", "o");
    ui.on_mod_dialog = [this, name](app::ModDialogModel& model) {
      model.SetName(name);
      model.DropShellFiles(app::kRootList, "", dir() + "desk/options.txt");
      return true;
    };
  }

  app::AppState state;
  test::ScriptedUi ui;
};

// A packing failure is shown; either way no workspace stays.
TEST_F(ModCommandsTest, NewModIsPackedScannedAndShown) {
  ConfirmWithFile("Made here");
  EXPECT_EQ(RunOnRow(app::kCmdNewMod, -1), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Made here"}));
  EXPECT_EQ(state.mods[0].Version, "1.2.5");
  std::string made = state.mods[0].Dir;
  EXPECT_TRUE(
      std::filesystem::exists(state.settings.ModDir + made.erase(made.size() - 1) + "/root.7z"));
  EXPECT_EQ(ui.lists_changed, (std::vector<app::ListKind>{app::ListKind::kMods}));
  EXPECT_FALSE(std::filesystem::exists(state.settings.CacheDir + "testmod"));

  std::filesystem::remove_all(state.settings.ModDir);
  test::WriteFile(state.settings.ModDir.substr(0, state.settings.ModDir.size() - 1), "a file");
  RunOnRow(app::kCmdNewMod, -1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.starts_with("CreateMod:Can't pack root.7z: "))
      << ui.messages[0].text;
  EXPECT_FALSE(std::filesystem::exists(state.settings.CacheDir + "testmod"));
}

// The same requester as the instance dialog's; cancelled, nothing else happens.
TEST_F(ModCommandsTest, ImportAsksForAFileAsTheInstanceDialogDoes) {
  ConfirmWithFile("ignored");
  EXPECT_EQ(RunOnRow(app::kCmdImportMod, -1), 1);
  ASSERT_EQ(ui.file_dialogs.size(), 1u);
  app::FileRequester requester = app::ModRequester();
  EXPECT_EQ(ui.file_dialogs[0].filters, requester.filters);
  EXPECT_EQ(ui.file_dialogs[0].selected_filter, requester.selected_filter);
  EXPECT_TRUE(ui.lists_changed.empty());
  test::WriteFile(dir() + "pack/mods/a.jar", "a");
  ASSERT_EQ(test::SevenZipProgram(dir() + "pack", "a -tzip ../Pack.zip mods"), 0);
  ui.open_file_answer = dir() + "Pack.zip";
  RunOnRow(app::kCmdImportMod, -1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"ignored"}));
  EXPECT_EQ(ui.lists_changed, (std::vector<app::ListKind>{app::ListKind::kMods}));
}

TEST_F(ModCommandsTest, RenameWritesTheDescriptorAndAnEmptyAnswerKeepsTheName) {
  AddMod("m", "Old");
  ui.input_answer = "";
  RunOnRow(app::kCmdRenameMod, 0);
  ASSERT_EQ(ui.input_boxes.size(), 1u);
  EXPECT_EQ(ui.input_boxes[0].preset, "Old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Old"}));
  ui.input_answer = "New";
  RunOnRow(app::kCmdRenameMod, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"New"}));
  EXPECT_EQ(test::ReadFile(state.settings.ModDir + "m/mod.ini"), "Name = New\r\nVersion = all\r\n");
  EXPECT_EQ(ui.lists_changed, (std::vector<app::ListKind>{app::ListKind::kMods}));
}

// Delete takes exactly that folder and row, to the trash; open shows the mod's folder. A row
// that is no longer there does nothing.
TEST_F(ModCommandsTest, DeleteAndOpenActOnExactlyThatRow) {
  for (const char* name : {"a", "b", "c"}) AddMod(name, name);
  test::WriteFile(state.settings.ModDir + "loose.txt", "x");
  RunOnRow(app::kCmdOpenMod, 2);
  EXPECT_EQ(ui.opened_folders, (std::vector<std::string>{state.settings.ModDir + "c\\"}));
  RunOnRow(app::kCmdDeleteMod, 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(test::TreeNames(state.settings.ModDir),
            (std::set<std::string>{"a/", "a/mod.ini", "a/root.7z", "c/", "c/mod.ini", "c/root.7z",
                                   "loose.txt"}));
  EXPECT_TRUE(std::filesystem::exists(dir() + "data/Trash/files/b/mod.ini"));  // can come back

  app::RightClickMenu(state, app::ListKind::kMods, 1);
  state.mods.resize(1);
  for (int id : {app::kCmdRenameMod, app::kCmdOpenMod, app::kCmdDeleteMod})
    app::RunMenuCommand(state, ui, id);
  EXPECT_TRUE(ui.input_boxes.empty());
  EXPECT_EQ(ui.opened_folders.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(state.settings.ModDir + "c/mod.ini"));
}

}  // namespace
}  // namespace oxlip

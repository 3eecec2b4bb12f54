// "Restore backup": the list to choose from, and the command that restores the chosen one.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/restore_choice_model.h"
#include "support/game_fixture.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;
using app::RestoreChoiceModel;
using backup::BackupArchive;

TEST(RestoreChoiceModel, RowsShowWhatWhenAndHowBigAndTheNewestIsSelected) {
  RestoreChoiceModel model("Survival", {{"World1", "w.7z", 1321617600 + 3600 + 120, 512},
                                        {"", "i.7z", 1321617600, 3 * 1024 * 1024 / 2}});
  EXPECT_EQ(model.WindowTitle(), std::string(RestoreChoiceModel::kTitle) + " - Survival");
  ASSERT_EQ(model.rows(), 2);
  EXPECT_EQ(model.Cell(0, 0), "World1");
  EXPECT_EQ(model.Cell(0, 1), "18.11.2011 13:02");
  EXPECT_EQ(model.Cell(0, 2), "512 bytes");
  EXPECT_EQ(model.Cell(1, 0), RestoreChoiceModel::kWholeInstance);
  EXPECT_EQ(model.Cell(1, 2), "1.5 MB");
  EXPECT_EQ(model.selected(), 0);
  EXPECT_NE(model.Note().find("\"World1\""), std::string::npos);
  model.Select(1);
  EXPECT_EQ(model.chosen()->path, "i.7z");
  EXPECT_NE(model.Note().find(".minecraft"), std::string::npos);
  for (int outside : {-1, 2}) {
    model.Select(outside);
    EXPECT_EQ(model.selected(), -1);
    EXPECT_EQ(model.chosen(), nullptr);
    EXPECT_EQ(model.Note(), "");
  }
  EXPECT_EQ(RestoreChoiceModel("Empty", {}).chosen(), nullptr);
  for (auto [bytes, text] : {std::pair<std::int64_t, const char*>{1023, "1023 bytes"},
                             {1024, "1.0 KB"},
                             {5ll << 30, "5.0 GB"}})
    EXPECT_EQ(app::SizeText(bytes), text);
}

class RestoreCommandTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    app::RegisterCommands(state_.commands);
    state_.settings.StartFolder = dir();
    state_.settings.InstancesDir = dir() + "Instances/";
    state_.instances.push_back(std::make_unique<Instance>());
    record_ = state_.instances.back().get();
    record_->Name = "Survival";
    record_->Folder = "survival";
    record_->Mods = {"Old mod"};
    state_.instance_list.push_back(record_);
    test::WriteFile(InFolder("mods.ini"), "Old mod\r\n");
    test::WriteFile(InFolder(".minecraft/saves/World1/level.dat"), "level");
    app::RightClickMenu(state_, app::ListKind::kInstances, 0);
  }
  void TearDown() override {
    if (state_.game.process && !state_.game.process->HasEnded()) {
      ::kill(state_.game.process->id(), SIGKILL);
      test::WaitFor([&] { return state_.game.process->HasEnded(); });
    }
  }
  std::string InFolder(const std::string& path) const {
    return dir() + "Instances/survival/" + path;
  }
  // Answers the dialog by choosing the row that shows `what`; records what it listed.
  void Choose(const std::string& what) {
    ui_.on_restore_dialog = [this, what](RestoreChoiceModel& model) {
      listed_.clear();
      for (int row = 0; row < model.rows(); ++row) {
        listed_.insert(model.Cell(row, 0));
        if (model.Cell(row, 0) == what) model.Select(row);
      }
      return true;
    };
  }

  app::AppState state_;
  Instance* record_ = nullptr;
  test::ScriptedUi ui_;
  std::set<std::string> listed_;
  test::ScopedEnvironment trash_{"XDG_DATA_HOME", dir() + "data"};
};

TEST_F(RestoreCommandTest, TheChosenBackupIsRestoredBehindTheProgressWindow) {
  ASSERT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackupSaves), 1);
  ASSERT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackup), 1);
  test::WriteFile(InFolder(".minecraft/saves/World1/level.dat"), "played since");
  test::WriteFile(InFolder("mods.ini"), "New mod\r\n");
  record_->Mods = {"New mod"};

  Choose("World1");
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRestoreBackup), 1);
  EXPECT_EQ(listed_, (std::set<std::string>{"World1", RestoreChoiceModel::kWholeInstance}));
  ASSERT_EQ(ui_.progress_windows.size(), 1u);
  EXPECT_EQ(ui_.progress_windows[0].title, RestoreChoiceModel::kTitle);
  EXPECT_EQ(test::ReadFile(InFolder(".minecraft/saves/World1/level.dat")), "level");
  EXPECT_EQ(record_->Mods, std::vector<std::string>{"New mod"});  // a world leaves the mods

  // The whole instance brings back the mod list it had, on disk and in the record.
  Choose(RestoreChoiceModel::kWholeInstance);
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRestoreBackup), 1);
  EXPECT_EQ(record_->Mods, std::vector<std::string>{"Old mod"});
  EXPECT_TRUE(ui_.messages.empty());

  ui_.on_restore_dialog = [](RestoreChoiceModel&) { return false; };
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRestoreBackup), 1);
  EXPECT_EQ(ui_.progress_windows.size(), 2u);
}

TEST_F(RestoreCommandTest, NothingIsRestoredWithoutBackupsWhileTheGameRunsOrFromADamagedOne) {
  int dialogs = 0;
  ui_.on_restore_dialog = [&](RestoreChoiceModel&) { return ++dialogs > 0; };
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRestoreBackup), 1);
  test::WriteFile(InFolder("backup/World1/100.7z"), "not an archive");
  state_.game.process = platform::Process::Start({{"sleep", "600"}, "", {}, ""});
  state_.game.folder = record_->Folder;
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRestoreBackup), 0);
  ::kill(state_.game.process->id(), SIGKILL);
  ASSERT_TRUE(test::WaitFor([&] { return state_.game.process->HasEnded(); }));
  EXPECT_EQ(dialogs, 0);

  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRestoreBackup), 0);
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(ui_.messages.size(), 3u);
  EXPECT_EQ(ui_.messages[0].text, "RestoreBackup: Survival has no backups yet.");
  EXPECT_EQ(ui_.messages[1].text, "RestoreBackup: the game is running; close it first");
  EXPECT_TRUE(ui_.messages[2].text.starts_with("RestoreBackup: Can't restore "))
      << ui_.messages[2].text;
  EXPECT_EQ(test::ReadFile(InFolder(".minecraft/saves/World1/level.dat")), "level");
}

}  // namespace
}  // namespace oxlip

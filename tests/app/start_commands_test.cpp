// Start, Start with alternate, Backup and Backup saves as the main window runs them.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <random>
#include <set>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/login_form.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/startup_hooks.h"
#include "platform/fs.h"
#include "support/game_fixture.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;

class StartCommandsTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    app::RegisterCommands(state_.commands);
    state_.settings.StartFolder = dir();
    state_.settings.InstancesDir = dir() + "Instances/";
    state_.settings.MCWIName = "Minecraft";
    state_.instances.push_back(std::make_unique<Instance>());
    record_ = state_.instances.back().get();
    record_->Name = "Survival";
    record_->Folder = "survival";
    record_->CustomJava = 1;
    record_->JavaPath = dir() + "no java/";  // a start gets as far as starting Java
    state_.instance_list.push_back(record_);
    test::WriteFile(dir() + "Instances/survival/.minecraft/saves/World1/level.dat", "level");
    ui_.on_login = [this](app::LoginForm&) {
      ++login_dialogs_;
      return false;
    };
    app::RightClickMenu(state_, app::ListKind::kInstances, 0);
  }
  void TearDown() override {
    if (state_.game.process && !state_.game.process->HasEnded()) {
      ::kill(state_.game.process->id(), SIGKILL);
      test::WaitFor([&] { return state_.game.process->HasEnded(); });
    }
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const test::ShownMessage& m : ui_.messages) texts.push_back(m.title + ": " + m.text);
    return texts;
  }

  app::AppState state_;
  Instance* record_ = nullptr;
  test::ScriptedUi ui_;
  int login_dialogs_ = 0;
};

TEST_F(StartCommandsTest, StartAndDoubleClickRunTheStartAndShowItsFailure) {
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdStart), 0);
  EXPECT_EQ(login_dialogs_, 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: StartMinecraft: Login canceld"});
  EXPECT_EQ(app::DoubleClickInstance(state_, ui_, 0), 0);
  EXPECT_EQ(login_dialogs_, 2);
  EXPECT_EQ(app::DoubleClickInstance(state_, ui_, 5), 1);  // no row: nothing
  EXPECT_EQ(login_dialogs_, 2);
}

TEST_F(StartCommandsTest, StartWithAlternateSwapsTheModeForOneStartOnly) {
  record_->AltLauncher = dir() + "Magic Launcher/ml.jar";
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdStartAlternate), 0);
  EXPECT_EQ(login_dialogs_, 0);  // the alternate launcher needs no login
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: StartMinecraft: Can't start Java"});
  EXPECT_EQ(record_->UseLauncher, 0);

  record_->UseLauncher = 2;  // its own mode is the alternate one: the built-in start instead
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdStartAlternate), 0);
  EXPECT_EQ(login_dialogs_, 1);
  EXPECT_EQ(record_->UseLauncher, 2);

  record_->UseLauncher = 1;
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdStartAlternate), 0);
  EXPECT_EQ(login_dialogs_, 1);
  EXPECT_EQ(record_->UseLauncher, 1);
}

TEST_F(StartCommandsTest, ARealStartIsWatchedByTheEventLoopHook) {
  test::LayOutGameFolder(dir() + "Instances/survival");
  test::ScopedEnvironment seconds("OXLIP_FIXTURE_SECONDS", "0");
  test::ScopedEnvironment no_display("DISPLAY", "");
  test::ScopedEnvironment report("OXLIP_FIXTURE_REPORT", dir() + "report.txt");
  record_->JavaPath = test::JavaFolder();
  record_->UseLauncher = 1;
  EXPECT_GT(app::RunMenuCommand(state_, ui_, app::kCmdStart), 0);
  EXPECT_TRUE(ui_.messages.empty());
  ASSERT_TRUE(state_.game.process);
  EXPECT_TRUE(test::WaitFor([&] {
    WatchGameWindow(state_);
    return !state_.game.process;
  }));
  EXPECT_TRUE(fs::exists(dir() + "report.txt"));
}

// A backup would meet files the game is still writing ("game.log", the worlds): refused while
// the instance's game runs, and possible again once it has ended.
TEST_F(StartCommandsTest, BackupsAreRefusedWhileTheInstancesGameRuns) {
  test::LayOutGameFolder(dir() + "Instances/survival");
  test::ScopedEnvironment seconds("OXLIP_FIXTURE_SECONDS", "600");
  test::ScopedEnvironment no_display("DISPLAY", "");
  record_->JavaPath = test::JavaFolder();
  record_->UseLauncher = 1;
  record_->BackupBeforUpdate = 1;
  ASSERT_GT(app::RunMenuCommand(state_, ui_, app::kCmdStart), 0);
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackup), 0);
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackupSaves), 0);
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdRepair), 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Oxlip: MineCraftBackup: the game is running; close it first",
                            "Oxlip: SaveBackup: the game is running; close it first",
                            "Oxlip: MineCraftBackup: the game is running; close it first"}));
  EXPECT_TRUE(ui_.status_shown.empty());
  EXPECT_FALSE(fs::exists(dir() + "Instances/survival/backup"));

  ::kill(state_.game.process->id(), SIGKILL);
  ASSERT_TRUE(test::WaitFor([&] { return state_.game.process->HasEnded(); }));
  ui_.messages.clear();
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackup), 1);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(StartCommandsTest, BackupsRunBehindTheStatusWindowAndReportFailures) {
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackupSaves), 1);
  ASSERT_EQ(ui_.status_shown.size(), 1u);
  EXPECT_EQ(ui_.status_shown[0].title, "Backup saves");
  EXPECT_EQ(ui_.status_shown[0].text, "Survival");
  EXPECT_EQ(ui_.behind_status_runs, 1);
  EXPECT_FALSE(ui_.status_open);
  EXPECT_EQ(ui_.status_progress.names, std::vector<std::string>{"World1"});
  EXPECT_TRUE(fs::exists(dir() + "Instances/survival/backup/World1/lastupdate.ini"));

  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackup), 1);
  EXPECT_EQ(ui_.status_shown.back().title, "Backup");
  EXPECT_EQ(ui_.behind_status_runs, 2);
  EXPECT_TRUE(ui_.messages.empty());
  int archives = 0;
  for (const auto& entry : fs::directory_iterator(dir() + "Instances/survival/backup"))
    archives += entry.path().extension() == ".7z";
  EXPECT_EQ(archives, 1);

  record_->Folder = "missing";
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackup), 0);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: MineCraftBackup: Can't backup."});
  EXPECT_FALSE(ui_.status_open);
  EXPECT_EQ(platform::CurrentFolder(), dir());
}

// 200 MB that does not compress, in files of 10 MB, is cancelled after its first file: no
// archive and no "backup" folder stay, and no box is shown.
TEST_F(StartCommandsTest, ACancelledBackupLeavesTheInstanceAsBefore) {
  const std::string region = dir() + "Instances/survival/.minecraft/saves/World1/region/";
  std::mt19937_64 random(7);
  std::vector<std::uint64_t> block(10 << 17);
  for (int file = 0; file < 20; ++file) {
    for (std::uint64_t& word : block) word = random();
    test::WriteFile(region + "r." + std::to_string(file) + ".mca",
                    std::string(reinterpret_cast<const char*>(block.data()), block.size() * 8));
  }
  const std::set<std::string> before = test::TreeNames(dir() + "Instances/survival");
  ui_.status_progress.cancel_after_asks = 1;
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdBackup), 0);
  EXPECT_EQ(ui_.cancel_offers, 1);
  EXPECT_EQ(test::TreeNames(dir() + "Instances/survival"), before);
  EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
}  // namespace oxlip

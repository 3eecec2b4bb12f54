// The commands of one instance as the main window runs them: start, backups, restore, the game
// log, stamping.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <optional>
#include <set>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/game_end_report.h"
#include "app/login_form.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/restore_choice_model.h"
#include "app/startup_hooks.h"
#include "archive/seven_zip.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "support/game_fixture.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;
using app::RestoreChoiceModel;

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
    test::WriteFile(InFolder(".minecraft/saves/World1/level.dat"), "level");
    ui_.on_login = [this](app::LoginForm&) { return ++login_dialogs_, false; };
    app::RightClickMenu(state_, app::ListKind::kInstances, 0);
  }
  void TearDown() override {
    if (state_.game.process && !state_.game.process->HasEnded()) {
      ::kill(state_.game.process->id(), SIGKILL);
      test::WaitFor([&] { return state_.game.process->HasEnded(); });
    }
  }
  int Run(int id) { return app::RunMenuCommand(state_, ui_, id); }
  std::string InFolder(const std::string& path) const {
    return dir() + "Instances/survival/" + path;
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
  test::ScopedEnvironment no_display_{"DISPLAY", ""};
  test::ScopedEnvironment trash_{"XDG_DATA_HOME", dir() + "data"};
};

// The alternate launcher needs no login; an instance whose own mode is the alternate one gets
// the built-in start instead. The record's mode stays.
TEST_F(StartCommandsTest, StartWithAlternateSwapsTheModeForOneStartOnly) {
  record_->AltLauncher = dir() + "Magic Launcher/ml.jar";
  for (int mode : {0, 2, 1}) {
    record_->UseLauncher = mode;
    ui_.messages.clear();
    login_dialogs_ = 0;
    EXPECT_EQ(Run(app::kCmdStartAlternate), 0);
    EXPECT_EQ(login_dialogs_, mode == 2 ? 1 : 0) << mode;
    EXPECT_EQ(record_->UseLauncher, mode);
  }
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: StartMinecraft: Can't start Java"});
}

// The fake game ends with the code asked for, after printing the text asked for; the watch of
// the event loop sees the end, which is said once, with an offer of the log.
TEST_F(StartCommandsTest, AGameThatEndsBadlySaysSoOnceAndOffersItsLog) {
  const std::string log = dir() + "Instances/survival/game.log";
  EXPECT_EQ(Run(app::kCmdShowGameLog), 1);
  ASSERT_EQ(ui_.game_logs.size(), 1u);
  EXPECT_EQ(ui_.game_logs[0].title, app::GameLogTitle("Survival"));
  EXPECT_EQ(platform::NativePath(ui_.game_logs[0].text), log);

  test::LayOutGameFolder(dir() + "Instances/survival");
  record_->JavaPath = test::JavaFolder();
  record_->UseLauncher = 1;  // no login
  test::ScopedEnvironment seconds("OXLIP_FIXTURE_SECONDS", "0");
  struct Case {
    const char* exit_code;
    const char* says;
    const char* reported;  // "" when nothing is
  } cases[] = {{"3", "", "ended with status 3."},
               {"0", "java.lang.IllegalStateException: broken\n\tat x.y(z)\n",
                "\njava.lang.IllegalStateException: broken"},
               {"0", "fine\n", ""},
               {"143", "", ""}};  // asked to end (SIGTERM, handled)
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exit_code + std::string(" ") + c.says);
    test::ScopedEnvironment exit_code("OXLIP_FIXTURE_EXIT", c.exit_code);
    test::WriteFile(dir() + "says.txt", c.says);
    test::ScopedEnvironment says("OXLIP_FIXTURE_SAY", dir() + "says.txt");
    ui_.offers.clear();
    ui_.game_logs.clear();
    ui_.offer_answer = true;
    ASSERT_GT(Run(app::kCmdStart), 0);
    ASSERT_TRUE(test::WaitFor([&] {
      WatchGameWindow(state_);
      return !state_.game.process;
    }));
    app::ReportGameEnd(state_, ui_);
    app::ReportGameEnd(state_, ui_);  // said once
    ASSERT_EQ(ui_.offers.size(), *c.reported ? 1u : 0u);
    if (ui_.offers.empty()) continue;
    EXPECT_NE(ui_.offers[0].text.find("\"Survival\""), std::string::npos) << ui_.offers[0].text;
    EXPECT_NE(ui_.offers[0].text.find(c.reported), std::string::npos) << ui_.offers[0].text;
    ASSERT_EQ(ui_.game_logs.size(), 1u);
    EXPECT_EQ(platform::NativePath(ui_.game_logs[0].text), log);
  }
}

// A backup or restore would meet files the game is still writing ("game.log", the worlds):
// refused while the instance's game runs, and possible again once it has ended.
TEST_F(StartCommandsTest, BackupsAndRestoresAreRefusedWhileTheInstancesGameRuns) {
  record_->BackupBeforUpdate = 1;
  state_.game.process = platform::Process::Start({{"sleep", "600"}, "", {}, ""});
  state_.game.folder = record_->Folder;
  for (int id : {app::kCmdBackup, app::kCmdBackupSaves, app::kCmdRepair, app::kCmdRestoreBackup})
    EXPECT_EQ(Run(id), 0);
  const std::string running = ": the game is running; close it first";
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Oxlip: MineCraftBackup" + running, "Oxlip: SaveBackup" + running,
                            "Oxlip: MineCraftBackup" + running, "Oxlip: RestoreBackup" + running}));
  EXPECT_TRUE(ui_.status_shown.empty());
  EXPECT_FALSE(fs::exists(InFolder("backup")));

  ::kill(state_.game.process->id(), SIGKILL);
  ASSERT_TRUE(test::WaitFor([&] { return state_.game.process->HasEnded(); }));
  ui_.messages.clear();
  EXPECT_EQ(Run(app::kCmdBackup), 1);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(StartCommandsTest, BackupsRunBehindTheStatusWindowAndReportFailures) {
  EXPECT_EQ(Run(app::kCmdBackupSaves), 1);
  ASSERT_EQ(ui_.status_shown.size(), 1u);
  EXPECT_EQ(ui_.status_shown[0].text, "Survival");
  EXPECT_EQ(ui_.behind_status_runs, 1);
  EXPECT_FALSE(ui_.status_open);
  EXPECT_EQ(ui_.status_progress.names, std::vector<std::string>{"World1"});
  EXPECT_TRUE(fs::exists(InFolder("backup/World1/lastupdate.ini")));
  EXPECT_EQ(Run(app::kCmdBackup), 1);
  EXPECT_EQ(ui_.behind_status_runs, 2);
  EXPECT_TRUE(ui_.messages.empty());

  record_->Folder = "missing";
  EXPECT_EQ(Run(app::kCmdBackup), 0);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: MineCraftBackup: Can't backup."});
  EXPECT_FALSE(ui_.status_open);
  EXPECT_EQ(platform::CurrentFolder(), dir());
}

// 200 MB that does not compress, in files of 10 MB, is cancelled after its first file: no
// archive and no "backup" folder stay, and no box is shown.
TEST_F(StartCommandsTest, ACancelledBackupLeavesTheInstanceAsBefore) {
  for (int file = 0; file < 20; ++file) {
    std::string name = "r." + std::to_string(file) + ".mca";
    test::WriteFile(InFolder(".minecraft/saves/World1/region/" + name),
                    test::FileBytes(name, 10 << 20));
  }
  const std::set<std::string> before = test::TreeNames(InFolder(""));
  ui_.status_progress.cancel_after_asks = 1;
  EXPECT_EQ(Run(app::kCmdBackup), 0);
  EXPECT_EQ(ui_.cancel_offers, 1);
  EXPECT_EQ(test::TreeNames(InFolder("")), before);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST(RestoreChoiceModel, RowsShowWhatWhenAndHowBigAndTheNewestIsSelected) {
  RestoreChoiceModel model("Survival", {{"World1", "w.7z", 1321617600 + 3600 + 120, 512},
                                        {"", "i.7z", 1321617600, 3 * 1024 * 1024 / 2}});
  EXPECT_EQ(model.WindowTitle(), std::string(RestoreChoiceModel::kTitle) + " - Survival");
  EXPECT_EQ(model.Cell(0, 0) + "|" + model.Cell(0, 1) + "|" + model.Cell(0, 2),
            "World1|18.11.2011 13:02|512 bytes");
  EXPECT_EQ(model.Cell(1, 0), RestoreChoiceModel::kWholeInstance);
  EXPECT_EQ(model.selected(), 0);
  EXPECT_NE(model.Note().find("\"World1\""), std::string::npos);
  model.Select(1);
  EXPECT_EQ(model.chosen()->path, "i.7z");
  EXPECT_NE(model.Note().find(".minecraft"), std::string::npos);
  for (int outside : {-1, 2}) {
    model.Select(outside);
    EXPECT_EQ(model.chosen(), nullptr);
    EXPECT_EQ(model.Note(), "");
  }
  EXPECT_EQ(RestoreChoiceModel("Empty", {}).chosen(), nullptr);
  for (auto [bytes, text] : {std::pair<std::int64_t, const char*>{1023, "1023 bytes"},
                             {1024, "1.0 KB"},
                             {3 << 19, "1.5 MB"},
                             {5ll << 30, "5.0 GB"}})
    EXPECT_EQ(app::SizeText(bytes), text);
}

TEST_F(StartCommandsTest, TheChosenBackupIsRestoredBehindTheProgressWindow) {
  record_->Mods = {"Old mod"};
  test::WriteFile(InFolder("mods.ini"), "Old mod\r\n");
  ASSERT_EQ(Run(app::kCmdBackupSaves), 1);
  ASSERT_EQ(Run(app::kCmdBackup), 1);
  test::WriteFile(InFolder(".minecraft/saves/World1/level.dat"), "played since");
  test::WriteFile(InFolder("mods.ini"), "New mod\r\n");
  record_->Mods = {"New mod"};
  std::set<std::string> listed;
  // Answers the dialog by choosing the row that shows `what`; records what it listed.
  auto choose = [&](const std::string& what) {
    ui_.on_restore_dialog = [&listed, what](RestoreChoiceModel& model) {
      for (int row = 0; row < model.rows(); ++row) {
        listed.insert(model.Cell(row, 0));
        if (model.Cell(row, 0) == what) model.Select(row);
      }
      return true;
    };
  };
  choose("World1");
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(listed, (std::set<std::string>{"World1", RestoreChoiceModel::kWholeInstance}));
  ASSERT_EQ(ui_.progress_windows.size(), 1u);
  EXPECT_EQ(test::ReadFile(InFolder(".minecraft/saves/World1/level.dat")), "level");
  EXPECT_EQ(record_->Mods, std::vector<std::string>{"New mod"});  // a world leaves the mods
  // The whole instance brings back the mod list it had, on disk and in the record.
  choose(RestoreChoiceModel::kWholeInstance);
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(record_->Mods, std::vector<std::string>{"Old mod"});
  EXPECT_TRUE(ui_.messages.empty());
  ui_.on_restore_dialog = nullptr;  // cancelled
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(ui_.progress_windows.size(), 2u);
}

TEST_F(StartCommandsTest, NothingIsRestoredWithoutBackupsOrFromADamagedOne) {
  int dialogs = 0;
  ui_.on_restore_dialog = [&](RestoreChoiceModel&) { return ++dialogs > 0; };
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(dialogs, 0);
  test::WriteFile(InFolder("backup/World1/100.7z"), "not an archive");
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 0);
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[0].text, "RestoreBackup: Survival has no backups yet.");
  EXPECT_TRUE(ui_.messages[1].text.starts_with("RestoreBackup: Can't restore "))
      << ui_.messages[1].text;
  EXPECT_EQ(test::ReadFile(InFolder(".minecraft/saves/World1/level.dat")), "level");
}

// Stamping works on the right-clicked instance and says what it did.
TEST_F(StartCommandsTest, StampTheRightClickedInstance) {
  record_->AltLauncher = "magic.jar";
  EXPECT_EQ(Run(app::kCmdImportAlternateMods), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: Stamp: No Alternate-Config-File"});
  // A jar made by the archiver from a folder holding a class and a signature folder.
  test::WriteFile(dir() + "jar/Game.class", "game");
  test::WriteFile(dir() + "jar/META-INF/MANIFEST.MF", "manifest");
  std::string jar = InFolder(".minecraft/bin/minecraft.jar");
  ASSERT_EQ(SevenZip(nullptr, "a \"" + jar + "\" \"" + dir() + "jar/\" -r", nullptr, 0), 0);
  test::WriteFile(
      InFolder(".minecraft/magic/MagicLauncher.cfg"),
      "<ActiveProfileIndex=\"0\">\n<Profile <Name=\"Plain\"> <MinecraftJar=\"" + jar + "\">>\n");
  ui_.messages.clear();
  EXPECT_EQ(Run(app::kCmdImportAlternateMods), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: Profile Plain patched!"});
  EXPECT_EQ(ui_.status_shown.back().text, "Survival");
  EXPECT_EQ(ui_.behind_status_runs, 2);
  EXPECT_FALSE(ui_.status_open);
  EXPECT_EQ(test::ProgramListing(jar), std::set<std::string>{"Game.class"});
  EXPECT_FALSE(fs::exists(dir() + "Temp"));
  state_.selection = {};  // nothing remembered: nothing done
  EXPECT_EQ(Run(app::kCmdImportAlternateMods), 1);
  EXPECT_EQ(ui_.messages.size(), 1u);
}

}  // namespace
}  // namespace oxlip

// Game starts with a real JVM running the fixture's fake game, without a display, and the
// commands of one instance as the main window runs them: start, backups, restore, the game log,
// stamping.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>

#include "app/command_registry.h"
#include "app/game_end_report.h"
#include "app/login_form.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/restore_choice_model.h"
#include "app/start_minecraft.h"
#include "app/startup_hooks.h"
#include "base/error_text.h"
#include "launch/game_watch.h"
#include "launch/login_crypt.h"
#include "platform/env.h"
#include "platform/fs.h"
#include "platform/md5.h"
#include "platform/path.h"
#include "support/app_world.h"
#include "support/fixture_paths.h"
#include "support/game_fixture.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;
using app::RestoreChoiceModel;
using test::ReadFile;
using test::WaitFor;

// The instance "My Game" (a blank on the command line) holding the fake game, started with the
// Java the build found; a login dialog counts as Login with empty fields: no login request.
class StartMinecraftTest : public test::AppWorld {
 protected:
  void SetUp() override {
    app::RegisterCommands(state.commands);
    settings_.MCWIName = "Minecraft";
    state.instances.push_back(std::make_unique<Instance>());
    record_ = state.instances.back().get();
    record_->Name = record_->Folder = "My Game";
    record_->CustomJava = 1;
    record_->JavaPath = test::JavaFolder();
    state.instance_list.push_back(record_);
    instance_ = settings_.InstancesDir + "My Game";
    test::LayOutGameFolder(instance_);
    test::WriteFile(InFolder(".minecraft/saves/World1/level.dat"), "level");
    ui.on_login = [this](app::LoginForm&) { return ++login_dialogs_, true; };
    app::RightClickMenu(state, app::ListKind::kInstances, 0);
  }
  void TearDown() override {
    if (game_.process && !game_.process->HasEnded()) {
      ::kill(game_.process->id(), SIGKILL);
      WaitFor([&] { return game_.process->HasEnded(); });
    }
  }
  int Start() {
    app::GameStart start{settings_, ui, game_};
    return StartMinecraft(start, *record_);
  }
  int Run(int id) { return app::RunMenuCommand(state, ui, id); }
  // Event-loop passes until the game is forgotten.
  bool WatchUntilEnded() {
    return WaitFor([&] {
      WatchGameWindow(state);
      return !game_.process;
    });
  }
  // The fake game's report of the next start.
  std::map<std::string, std::string> Report() {
    auto report = test::WaitForReport(dir() + "report.txt");
    fs::remove(dir() + "report.txt");
    return report;
  }
  // A login server that knows Notch:hunter2.
  void ServeLogin() {
    test::WriteFile(dir() + "users.txt", "Notch:hunter2\n");
    ASSERT_NO_FATAL_FAILURE(StartMirror({"--users", dir() + "users.txt"}));
    settings_.MCLOGINURL = mirror_->Url("?user=%1%&password=%2%&version=%3%");
  }
  std::string InFolder(const std::string& path) const { return instance_ + "/" + path; }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const test::ShownMessage& m : ui.messages) texts.push_back(m.title + ": " + m.text);
    return texts;
  }

  test::ScopedEnvironment no_display_{"DISPLAY", ""};
  test::ScopedEnvironment report_{"OXLIP_FIXTURE_REPORT", dir() + "report.txt"};
  test::ScopedEnvironment seconds_{"OXLIP_FIXTURE_SECONDS", "0"};
  test::ScopedEnvironment trash_{"XDG_DATA_HOME", dir() + "data"};
  base::GlobalSettings& settings_ = state.settings;
  launch::RunningGame& game_ = state.game;
  Instance* record_ = nullptr;
  std::string instance_;
  int login_dialogs_ = 0;
};

using StartCommandsTest = StartMinecraftTest;

// The log keeps what the game printed on both outputs, and the run before beside it; the game's
// own launcher starts without a login.
TEST_F(StartMinecraftTest, TheGameRunsInTheInstanceAndOurEnvironmentStaysAsItWas) {
  const std::string home = platform::GetEnvironment("HOME");
  record_->SetMemory = 1;
  record_->MaxMemory = 256;
  record_->MinMemory = 64;
  int id = Start();
  ASSERT_GT(id, 0) << base::LastErrorText();
  EXPECT_EQ(game_.process->id(), id);
  EXPECT_TRUE(game_.window_pending);
  EXPECT_EQ(login_dialogs_, 1);
  auto report = Report();
  EXPECT_EQ(report["class"], "net.minecraft.client.Minecraft");
  EXPECT_EQ(report["args"], "0");  // no login: name and ticket are empty
  EXPECT_EQ(report["workdir"], instance_ + "/.minecraft/bin");
  EXPECT_EQ(report["user.home"], instance_);
  EXPECT_EQ(report["HOME"], instance_);
  EXPECT_LE(std::stoll(report["maxmemory"]), 256LL << 20);
  // The child's environment was its own: a folder opened later must not inherit it.
  EXPECT_EQ(platform::GetEnvironment("HOME"), home);
  EXPECT_EQ(platform::CurrentFolder(), dir());

  ASSERT_TRUE(WatchUntilEnded());
  std::string log = ReadFile(InFolder("game.log"));
  EXPECT_NE(log.find("net.minecraft.client.Minecraft started with 0 arguments"), std::string::npos)
      << log;
  EXPECT_NE(log.find("oxlip fixture: window none"), std::string::npos) << log;  // standard error
  record_->UseLauncher = 1;
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  ASSERT_TRUE(WatchUntilEnded());
  EXPECT_NE(ReadFile(InFolder("game.log")).find("net.minecraft.LauncherFrame started"),
            std::string::npos);
  EXPECT_EQ(ReadFile(InFolder("game.log.1")), log);
  EXPECT_EQ(login_dialogs_, 1);  // the first start's only
}

TEST_F(StartMinecraftTest, ASecondStartIsRefusedWhileTheGameRunsAndWorksAfterItEnded) {
  test::ScopedEnvironment seconds("OXLIP_FIXTURE_SECONDS", "300");
  int first = Start();
  ASSERT_GT(first, 0) << base::LastErrorText();
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(base::LastErrorText(), "StartMinecraft: Minecraft already run");
  WatchGameWindow(settings_, game_);  // still running: still recorded
  ASSERT_TRUE(game_.process);
  EXPECT_EQ(Start(), 0);
  ::kill(first, SIGTERM);
  ASSERT_TRUE(WatchUntilEnded());
  EXPECT_FALSE(game_.window_pending);
  int second = Start();
  EXPECT_GT(second, 0) << base::LastErrorText();
  EXPECT_NE(second, first);
  // Ended but not yet seen by the watch: the start sees it itself.
  ::kill(second, SIGKILL);
  ASSERT_TRUE(WaitFor([&] { return Start() > 0; }));
}

// Stored credentials log in off the window's thread, behind a status window naming the user;
// the game gets the server's name and ticket, and the server address as one argument.
TEST_F(StartMinecraftTest, StoredCredentialsLogInAndTheGameGetsNameTicketAndServer) {
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  record_->LoginCrypt = EncodeLogin({"notch", "hunter2"});
  record_->AutoConnect = 1;
  record_->ConnectIP = "mc \"a\" b";
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(login_dialogs_, 0);
  EXPECT_EQ(ui.behind_status_runs, 1);
  ASSERT_EQ(ui.status_shown.size(), 1u);
  EXPECT_EQ(ui.status_shown[0].text, "notch");
  EXPECT_FALSE(ui.status_open);
  auto report = Report();
  EXPECT_EQ(report["args"], "3");
  EXPECT_EQ(report["arg.0"], "Notch");
  EXPECT_EQ(report["arg.1"], platform::Md5Hex("Notch:hunter2"));
  EXPECT_EQ(report["arg.2"], "mc \"a\" b");
}

TEST_F(StartMinecraftTest, AFailedLoginShowsTheAnswerAndAsksAgainWithTheCredentialsUsed) {
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  record_->LoginCrypt = EncodeLogin({"Notch", "wrong"});
  std::vector<launch::Credentials> offered;
  ui.on_login = [&](app::LoginForm& form) {
    offered.push_back(form.texts());
    return false;
  };
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(base::LastErrorText(), "StartMinecraft: Login canceld");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Bad login");
  EXPECT_TRUE(ui.offers.empty());  // a refusal is no reason to play offline
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0].user + ":" + offered[0].password, "Notch:wrong");
  EXPECT_FALSE(game_.process);

  // The dialog's credentials serve this start only.
  const std::string stored = record_->LoginCrypt;
  ui.on_login = [](app::LoginForm& form) {
    form.SetPassword("hunter2");
    return true;
  };
  EXPECT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(record_->LoginCrypt, stored);
}

// The login server is gone: the failure offers to play offline under the name typed; declined,
// the dialog asks again, and its "Play offline" does the same. The game gets the name and the
// ticket the old builds take for none.
TEST_F(StartMinecraftTest, AnUnreachableServerOffersOfflineAndTheGameGetsTheTypedName) {
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  mirror_->Stop();
  for (bool take_offer : {true, false}) {
    SCOPED_TRACE(take_offer);
    ui.offers.clear();
    ui.offer_answer = take_offer;
    int dialogs = 0;
    ui.on_login = [&](app::LoginForm& form) {
      form.SetUser("Alex");
      form.SetPassword("secret");
      if (++dialogs > 1) form.PlayOffline();
      return true;
    };
    ASSERT_GT(Start(), 0) << base::LastErrorText();
    EXPECT_EQ(dialogs, take_offer ? 1 : 2);
    ASSERT_EQ(ui.offers.size(), 1u);
    EXPECT_NE(ui.offers[0].text.find("Alex"), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
    auto report = Report();
    EXPECT_EQ(report["args"], "2");
    EXPECT_EQ(report["arg.0"], "Alex");
    EXPECT_EQ(report["arg.1"], "-");
    ASSERT_TRUE(WatchUntilEnded());
  }
}

// A remembered name starts offline without asking, before stored credentials; neither it nor
// the dialog's "Play offline" sends anything to the login server.
TEST_F(StartMinecraftTest, OfflineStartsSendNothingAndARememberedNameAsksNothing) {
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  record_->LoginCrypt = EncodeLogin({"Notch", "hunter2"});
  record_->OfflineName = "Steve";
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(login_dialogs_, 0);
  EXPECT_EQ(Report()["arg.0"], "Steve");
  ASSERT_TRUE(WatchUntilEnded());

  record_->LoginCrypt = record_->OfflineName = "";
  ui.on_login = [this](app::LoginForm& form) {
    form.SetUser("Alex");
    form.SetPassword("hunter2");
    form.PlayOffline();
    return ++login_dialogs_ == 1;  // asked again is cancelled
  };
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(Report()["arg.0"], "Alex");
  EXPECT_EQ(ui.behind_status_runs, 0);
  EXPECT_TRUE(Requests().empty());
}

// The saves are backed up first when the instance asks; a cancelled dialog is reported.
TEST_F(StartMinecraftTest, BackupFirstThenACancelledDialogIsReported) {
  record_->AutoBackupSaves = 1;
  ui.on_login = nullptr;  // cancelled
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(base::LastErrorText(), "StartMinecraft: Login canceld");
  ASSERT_EQ(ui.status_shown.size(), 1u);
  EXPECT_EQ(ui.status_shown[0].title, "Backup saves");
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_TRUE(fs::exists(InFolder("backup/World1/lastupdate.ini")));
  EXPECT_FALSE(game_.process);
}

// The alternate launcher needs no login; an instance whose own mode is the alternate one gets
// the built-in start instead. The record's mode stays.
TEST_F(StartCommandsTest, StartWithAlternateSwapsTheModeForOneStartOnly) {
  record_->AltLauncher = dir() + "Magic Launcher/ml.jar";
  record_->JavaPath = dir() + "no java/";
  for (int mode : {0, 2, 1}) {
    record_->UseLauncher = mode;
    ui.messages.clear();
    login_dialogs_ = 0;
    EXPECT_EQ(Run(app::kCmdStartAlternate), 0);
    EXPECT_EQ(login_dialogs_, mode == 2 ? 1 : 0) << mode;
    EXPECT_EQ(record_->UseLauncher, mode);
    EXPECT_FALSE(game_.process || game_.window_pending);
  }
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: StartMinecraft: Can't start Java"});
}

// The fake game ends with the code asked for, after printing the text asked for; the watch of
// the event loop sees the end, which is said once, with an offer of the log.
TEST_F(StartCommandsTest, AGameThatEndsBadlySaysSoOnceAndOffersItsLog) {
  const std::string log = InFolder("game.log");
  EXPECT_EQ(Run(app::kCmdShowGameLog), 1);
  ASSERT_EQ(ui.game_logs.size(), 1u);
  EXPECT_EQ(ui.game_logs[0].title, app::GameLogTitle("My Game"));
  EXPECT_EQ(platform::NativePath(ui.game_logs[0].text), log);

  record_->UseLauncher = 1;  // no login
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
    ui.offers.clear();
    ui.game_logs.clear();
    ui.offer_answer = true;
    ASSERT_GT(Run(app::kCmdStart), 0);
    ASSERT_TRUE(WatchUntilEnded());
    app::ReportGameEnd(state, ui);
    app::ReportGameEnd(state, ui);  // said once
    ASSERT_EQ(ui.offers.size(), *c.reported ? 1u : 0u);
    if (ui.offers.empty()) continue;
    EXPECT_NE(ui.offers[0].text.find("\"My Game\""), std::string::npos) << ui.offers[0].text;
    EXPECT_NE(ui.offers[0].text.find(c.reported), std::string::npos) << ui.offers[0].text;
    ASSERT_EQ(ui.game_logs.size(), 1u);
    EXPECT_EQ(platform::NativePath(ui.game_logs[0].text), log);
  }
}

// A backup or restore would meet files the game is still writing ("game.log", the worlds):
// refused while the instance's game runs, and possible again once it has ended.
TEST_F(StartCommandsTest, BackupsAndRestoresAreRefusedWhileTheInstancesGameRuns) {
  record_->BackupBeforUpdate = 1;
  state.game.process = platform::Process::Start({{"sleep", "600"}, "", {}, ""});
  state.game.folder = record_->Folder;
  for (int id : {app::kCmdBackup, app::kCmdBackupSaves, app::kCmdRepair, app::kCmdRestoreBackup})
    EXPECT_EQ(Run(id), 0);
  const std::string running = ": the game is running; close it first";
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Oxlip: MineCraftBackup" + running, "Oxlip: SaveBackup" + running,
                            "Oxlip: MineCraftBackup" + running, "Oxlip: RestoreBackup" + running}));
  EXPECT_TRUE(ui.status_shown.empty());
  EXPECT_FALSE(fs::exists(InFolder("backup")));

  ::kill(state.game.process->id(), SIGKILL);
  ASSERT_TRUE(test::WaitFor([&] { return state.game.process->HasEnded(); }));
  ui.messages.clear();
  EXPECT_EQ(Run(app::kCmdBackup), 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartCommandsTest, BackupsRunBehindTheStatusWindowAndReportFailures) {
  EXPECT_EQ(Run(app::kCmdBackupSaves), 1);
  ASSERT_EQ(ui.status_shown.size(), 1u);
  EXPECT_EQ(ui.status_shown[0].text, "My Game");
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(ui.status_progress.names, std::vector<std::string>{"World1"});
  EXPECT_TRUE(fs::exists(InFolder("backup/World1/lastupdate.ini")));
  EXPECT_EQ(Run(app::kCmdBackup), 1);
  EXPECT_EQ(ui.behind_status_runs, 2);
  EXPECT_TRUE(ui.messages.empty());

  record_->Folder = "missing";
  EXPECT_EQ(Run(app::kCmdBackup), 0);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: MineCraftBackup: Can't backup."});
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
  ui.status_progress.cancel_after_asks = 1;
  EXPECT_EQ(Run(app::kCmdBackup), 0);
  EXPECT_EQ(ui.cancel_offers, 1);
  EXPECT_EQ(test::TreeNames(InFolder("")), before);
  EXPECT_TRUE(ui.messages.empty());
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

// Without backups it says so; a chosen world leaves the mods, the whole instance brings back the
// mod list it had, on disk and in the record; a damaged archive restores nothing and says so.
TEST_F(StartCommandsTest, TheChosenBackupIsRestoredBehindTheProgressWindow) {
  std::set<std::string> listed;
  // Answers the dialog by choosing the (last) row that shows `what`; records what it listed.
  auto choose = [&](const std::string& what) {
    ui.on_restore_dialog = [&listed, what](RestoreChoiceModel& model) {
      for (int row = 0; row < model.rows(); ++row) {
        listed.insert(model.Cell(row, 0));
        if (model.Cell(row, 0) == what) model.Select(row);
      }
      return true;
    };
  };
  choose("World1");
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_TRUE(listed.empty());
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"Oxlip: RestoreBackup: My Game has no backups yet."});
  ui.messages.clear();
  record_->Mods = {"Old mod"};
  test::WriteFile(InFolder("mods.ini"), "Old mod\r\n");
  ASSERT_EQ(Run(app::kCmdBackupSaves), 1);
  ASSERT_EQ(Run(app::kCmdBackup), 1);
  test::WriteFile(InFolder(".minecraft/saves/World1/level.dat"), "played since");
  test::WriteFile(InFolder("mods.ini"), "New mod\r\n");
  record_->Mods = {"New mod"};
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(listed, (std::set<std::string>{"World1", RestoreChoiceModel::kWholeInstance}));
  ASSERT_EQ(ui.progress_windows.size(), 1u);
  EXPECT_EQ(test::ReadFile(InFolder(".minecraft/saves/World1/level.dat")), "level");
  EXPECT_EQ(record_->Mods, std::vector<std::string>{"New mod"});
  choose(RestoreChoiceModel::kWholeInstance);
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(record_->Mods, std::vector<std::string>{"Old mod"});
  EXPECT_TRUE(ui.messages.empty());
  ui.on_restore_dialog = nullptr;  // cancelled
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 1);
  EXPECT_EQ(ui.progress_windows.size(), 2u);

  test::WriteFile(InFolder("backup/World1/100.7z"), "not an archive");  // the oldest
  choose("World1");
  EXPECT_EQ(Run(app::kCmdRestoreBackup), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.starts_with("RestoreBackup: Can't restore "))
      << ui.messages[0].text;
  EXPECT_EQ(test::ReadFile(InFolder(".minecraft/saves/World1/level.dat")), "level");
}

// Stamping works on the right-clicked instance and says what it did.
TEST_F(StartCommandsTest, StampTheRightClickedInstance) {
  record_->AltLauncher = "magic.jar";
  EXPECT_EQ(Run(app::kCmdImportAlternateMods), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: Stamp: No Alternate-Config-File"});
  std::string jar = InFolder(".minecraft/bin/minecraft.jar");
  fs::remove(jar);
  test::MakeJar(jar, {{"Game.class", "game"}});
  test::WriteFile(
      InFolder(".minecraft/magic/MagicLauncher.cfg"),
      "<ActiveProfileIndex=\"0\">\n<Profile <Name=\"Plain\"> <MinecraftJar=\"" + jar + "\">>\n");
  ui.messages.clear();
  EXPECT_EQ(Run(app::kCmdImportAlternateMods), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Oxlip: Profile Plain patched!"});
  EXPECT_EQ(ui.status_shown.back().text, "My Game");
  EXPECT_EQ(ui.behind_status_runs, 2);
  state.selection = {};  // nothing remembered: nothing done
  EXPECT_EQ(Run(app::kCmdImportAlternateMods), 1);
  EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace oxlip

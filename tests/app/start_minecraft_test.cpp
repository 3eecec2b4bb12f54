// Game starts with a real JVM running the fixture's fake game, without a display.
#include "app/start_minecraft.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>

#include "app/login_form.h"
#include "base/error_text.h"
#include "launch/game_watch.h"
#include "launch/login_crypt.h"
#include "platform/env.h"
#include "platform/fs.h"
#include "platform/md5.h"
#include "support/fixture_paths.h"
#include "support/game_fixture.h"
#include "support/mirror_process.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using test::ReadFile;
using test::WaitFor;

class StartMinecraftTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings_.StartFolder = dir();
    settings_.InstancesDir = dir() + "Instances/";
    settings_.MCWIName = "Minecraft";
    record_.Name = "My Game";
    record_.Folder = "My Game";  // a blank on the command line
    record_.CustomJava = 1;
    record_.JavaPath = test::JavaFolder();
    instance_ = settings_.InstancesDir + "My Game";
    test::LayOutGameFolder(instance_);
    // Anything empty counts as Login with empty fields: no login request.
    ui_.on_login = [this](app::LoginForm&) {
      ++login_dialogs_;
      return true;
    };
  }
  void TearDown() override {
    if (game_.process && !game_.process->HasEnded()) {
      ::kill(game_.process->id(), SIGKILL);
      WaitFor([&] { return game_.process->HasEnded(); });
    }
  }
  int Start() {
    app::GameStart start{settings_, ui_, game_};
    return StartMinecraft(start, record_);
  }
  // Event-loop passes until the game is forgotten.
  bool WatchUntilEnded() {
    return WaitFor([&] {
      WatchGameWindow(settings_, game_);
      return !game_.process;
    });
  }
  // The fake game's report of the next start.
  std::map<std::string, std::string> Report() {
    auto report = test::WaitForReport(dir() + "report.txt");
    std::filesystem::remove(dir() + "report.txt");
    return report;
  }
  // A login server that knows Notch:hunter2, at `path` of the mirror.
  void ServeLogin(std::vector<std::string> options = {},
                  const std::string& path = "?user=%1%&password=%2%&version=%3%") {
    test::WriteFile(dir() + "users.txt", "Notch:hunter2\n");
    test::WriteFile(dir() + "root/download/x", "x");
    options.insert(options.end(), {"--users", dir() + "users.txt"});
    mirror_ = std::make_unique<test::MirrorProcess>(dir() + "root/", options);
    ASSERT_GT(mirror_->port(), 0);
    settings_.MCLOGINURL = mirror_->Url(path);
  }

  test::ScopedEnvironment no_display_{"DISPLAY", ""};
  test::ScopedEnvironment report_{"OXLIP_FIXTURE_REPORT", dir() + "report.txt"};
  test::ScopedEnvironment seconds_{"OXLIP_FIXTURE_SECONDS", "0"};
  base::GlobalSettings settings_;
  Instance record_;
  std::string instance_;
  test::ScriptedUi ui_;
  launch::RunningGame game_;
  std::unique_ptr<test::MirrorProcess> mirror_;
  int login_dialogs_ = 0;
};

TEST_F(StartMinecraftTest, TheGameRunsInTheInstanceAndOurEnvironmentStaysAsItWas) {
  const std::string home = platform::GetEnvironment("HOME");
  record_.SetMemory = 1;
  record_.MaxMemory = 256;
  record_.MinMemory = 64;
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

// The log keeps what the game printed on both outputs, and the run before beside it; the
// game's own launcher and an alternate one start without a login, the latter in its folder.
TEST_F(StartMinecraftTest, GameLogAndLaunchers) {
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  ASSERT_TRUE(WatchUntilEnded());
  std::string log = ReadFile(instance_ + "/game.log");
  EXPECT_NE(log.find("net.minecraft.client.Minecraft started with 0 arguments"), std::string::npos)
      << log;
  EXPECT_NE(log.find("oxlip fixture: window none"), std::string::npos) << log;  // standard error

  login_dialogs_ = 0;
  record_.UseLauncher = 1;
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  ASSERT_TRUE(WatchUntilEnded());
  EXPECT_NE(ReadFile(instance_ + "/game.log").find("net.minecraft.LauncherFrame started"),
            std::string::npos);
  EXPECT_EQ(ReadFile(instance_ + "/game.log.1"), log);

  std::string folder = dir() + "Magic Launcher/";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(OXLIP_FIXTURE_ALT_LAUNCHER, folder + "Magic Launcher.jar");
  record_.UseLauncher = 2;
  record_.AltLauncher = folder + "Magic Launcher.jar";
  record_.AutoConnect = 1;  // ignored here
  record_.ConnectIP = "mc.example";
  std::filesystem::remove(dir() + "report.txt");
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  auto report = Report();
  EXPECT_EQ(report["class"], "net.minecraft.LauncherFrame");
  EXPECT_EQ(report["args"], "0");
  EXPECT_EQ(report["workdir"], dir() + "Magic Launcher");
  EXPECT_EQ(report["HOME"], instance_);
  EXPECT_EQ(login_dialogs_, 0);
}

// Stored credentials log in off the window's thread, behind a status window naming the user;
// whatever the server's answer and the server address hold, each reaches the game as one
// argument (the report writes a backslash doubled).
TEST_F(StartMinecraftTest, StoredCredentialsLogInAndTheGameGetsNameTicketAndServerWhole) {
  test::WriteFile(dir() + "root/download/answer.txt", "1:deprecated:Ste \"ve\":tkn h\\\" x\\:7\n");
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  record_.LoginCrypt = EncodeLogin({"notch", "hunter2"});
  record_.AutoConnect = 1;
  record_.ConnectIP = "mc \"a\" b";
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(login_dialogs_, 0);
  EXPECT_EQ(ui_.behind_status_runs, 1);
  ASSERT_EQ(ui_.status_shown.size(), 1u);
  EXPECT_EQ(ui_.status_shown[0].text, "notch");
  EXPECT_FALSE(ui_.status_open);
  auto report = Report();
  EXPECT_EQ(report["args"], "3");
  EXPECT_EQ(report["arg.0"], "Notch");
  EXPECT_EQ(report["arg.1"], platform::Md5Hex("Notch:hunter2"));
  EXPECT_EQ(report["arg.2"], "mc \"a\" b");
  ASSERT_TRUE(WatchUntilEnded());

  settings_.MCLOGINURL = mirror_->Url("download/answer.txt");
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  report = Report();
  EXPECT_EQ(report["arg.0"], "Ste \"ve\"");
  EXPECT_EQ(report["arg.1"], "tkn h\\\\\" x\\\\");
}

TEST_F(StartMinecraftTest, AFailedLoginShowsTheAnswerAndAsksAgainWithTheCredentialsUsed) {
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  record_.LoginCrypt = EncodeLogin({"Notch", "wrong"});
  std::vector<launch::Credentials> offered;
  ui_.on_login = [&](app::LoginForm& form) {
    offered.push_back(form.texts());
    return false;
  };
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(base::LastErrorText(), "StartMinecraft: Login canceld");
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Bad login");
  EXPECT_TRUE(ui_.offers.empty());  // a refusal is no reason to play offline
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0].user + ":" + offered[0].password, "Notch:wrong");
  EXPECT_FALSE(game_.process);

  // The dialog's credentials serve this start only.
  const std::string stored = record_.LoginCrypt;
  ui_.on_login = [](app::LoginForm& form) {
    form.SetPassword("hunter2");
    return true;
  };
  EXPECT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(record_.LoginCrypt, stored);
}

// The login server is gone: the failure offers to play offline under the name typed; declined,
// the dialog asks again, and its "Play offline" does the same. The game gets the name and the
// ticket the old builds take for none.
TEST_F(StartMinecraftTest, AnUnreachableServerOffersOfflineAndTheGameGetsTheTypedName) {
  ASSERT_NO_FATAL_FAILURE(ServeLogin());
  mirror_->Stop();
  for (bool take_offer : {true, false}) {
    SCOPED_TRACE(take_offer);
    ui_.offers.clear();
    ui_.offer_answer = take_offer;
    int dialogs = 0;
    ui_.on_login = [&](app::LoginForm& form) {
      form.SetUser("Alex");
      form.SetPassword("secret");
      if (++dialogs > 1) form.PlayOffline();
      return true;
    };
    ASSERT_GT(Start(), 0) << base::LastErrorText();
    EXPECT_EQ(dialogs, take_offer ? 1 : 2);
    ASSERT_EQ(ui_.offers.size(), 1u);
    EXPECT_NE(ui_.offers[0].text.find("Alex"), std::string::npos);
    EXPECT_TRUE(ui_.messages.empty());
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
  ASSERT_NO_FATAL_FAILURE(ServeLogin({"--log", dir() + "requests.log"}));
  record_.LoginCrypt = EncodeLogin({"Notch", "hunter2"});
  record_.OfflineName = "Steve";
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(login_dialogs_, 0);
  EXPECT_EQ(Report()["arg.0"], "Steve");
  ASSERT_TRUE(WatchUntilEnded());

  record_.LoginCrypt = record_.OfflineName = "";
  ui_.on_login = [this](app::LoginForm& form) {
    form.SetUser("Alex");
    form.SetPassword("hunter2");
    form.PlayOffline();
    return ++login_dialogs_ == 1;  // asked again is cancelled
  };
  ASSERT_GT(Start(), 0) << base::LastErrorText();
  EXPECT_EQ(Report()["arg.0"], "Alex");
  EXPECT_EQ(ui_.behind_status_runs, 0);
  EXPECT_EQ(ReadFile(dir() + "requests.log"), "");
}

// The saves are backed up first when the instance asks; a cancelled dialog and a missing
// Java are reported.
TEST_F(StartMinecraftTest, BackupFirstThenCancelledDialogAndMissingJavaAreReported) {
  test::WriteFile(instance_ + "/.minecraft/saves/World1/level.dat", "level");
  record_.AutoBackupSaves = 1;
  ui_.on_login = nullptr;  // cancelled
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(base::LastErrorText(), "StartMinecraft: Login canceld");
  ASSERT_EQ(ui_.status_shown.size(), 1u);
  EXPECT_EQ(ui_.status_shown[0].title, "Backup saves");
  EXPECT_EQ(ui_.behind_status_runs, 1);
  EXPECT_FALSE(ui_.status_open);
  EXPECT_TRUE(std::filesystem::exists(instance_ + "/backup/World1/lastupdate.ini"));
  record_.UseLauncher = 1;
  record_.JavaPath = dir() + "no java/bin/";
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(base::LastErrorText(), "StartMinecraft: Can't start Java");
  EXPECT_FALSE(game_.process);
  EXPECT_FALSE(game_.window_pending);
}

}  // namespace
}  // namespace oxlip

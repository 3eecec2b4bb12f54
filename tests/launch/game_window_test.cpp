// The game watch on a real X display: ctest runs these inside xvfb-run (launch_game_window_*),
// with and without a window manager; elsewhere they are skipped.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "launch/game_watch.h"
#include "launch/start_game.h"
#include "platform/process.h"
#include "platform/window_watch.h"
#include "support/fixture_paths.h"
#include "support/game_fixture.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using platform::DisplayConnection;
using platform::WindowGeometry;
using platform::WindowId;
using test::WaitFor;

bool Has(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

bool Maximized(DisplayConnection& display, WindowId window) {
  std::vector<std::string> states = display.States(window);
  return Has(states, "_NET_WM_STATE_MAXIMIZED_VERT") && Has(states, "_NET_WM_STATE_MAXIMIZED_HORZ");
}

class GameWindowTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    if (std::getenv("OXLIP_XVFB") == nullptr)
      GTEST_SKIP() << "needs the virtual display that ctest's launch_game_window_* give it";
    display_ = DisplayConnection::Connect();
    ASSERT_TRUE(display_) << "no X display";
    settings_.StartFolder = dir();
    settings_.InstancesDir = dir() + "Instances/";
    settings_.MCWIName = "Minecraft";
    record_.Folder = "game";
    record_.CustomJava = 1;
    record_.JavaPath = test::JavaFolder();
    record_.Maximize = 1;
    test::LayOutGameFolder(settings_.InstancesDir + "game");
  }
  void TearDown() override {
    for (std::optional<platform::Process>* process : {&game_.process, &other_})
      if (*process && !(*process)->HasEnded()) {
        ::kill((*process)->id(), SIGKILL);
        WaitFor([&] { return (*process)->HasEnded(); });
      }
  }

  int Start() {
    return launch::StartGame(settings_, record_, {}, game_, platform::kNativeConventions);
  }
  // The game's window once the watch has handled it.
  std::optional<WindowId> HandledWindow(int game) {
    if (game <= 0 || !WaitFor([&] {
          WatchGameWindow(settings_, game_);
          return !game_.window_pending;
        }))
      return std::nullopt;
    return WaitForWindow("Minecraft", game);
  }
  // A shown window with this title of this process (and its children).
  std::optional<WindowId> WaitForWindow(const std::string& title, int process) {
    std::optional<WindowId> window;
    WaitFor([&] { return (window = display_->FindWindow({title, "", process})).has_value(); });
    return window;
  }
  bool CoversScreen(WindowId window) {
    std::optional<WindowGeometry> g = display_->Geometry(window);
    WindowGeometry screen = display_->Screen();
    // A window manager keeps a few pixels for its border.
    return g && g->width >= screen.width - 10 && g->height >= screen.height * 8 / 10;
  }

  std::unique_ptr<DisplayConnection> display_;
  test::ScopedEnvironment seconds_{"OXLIP_FIXTURE_SECONDS", "300"};
  test::ScopedEnvironment report_{"OXLIP_FIXTURE_REPORT", dir() + "report.txt"};
  base::GlobalSettings settings_;
  Instance record_;
  launch::RunningGame game_;
  std::optional<platform::Process> other_;
};

// Runs the window manager for the test; skipped when it is not installed.
class GameWindowWithManager : public GameWindowTest {
 protected:
  void SetUp() override {
    GameWindowTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (std::system("command -v openbox >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "openbox is not installed (scripts/install-deps installs it)";
    manager_ = platform::Process::Start({{"openbox", "--sm-disable"}, "", {}, ""});
    ASSERT_TRUE(manager_);
    ASSERT_TRUE(WaitFor([&] { return display_->HasWindowManager(); })) << "openbox did not start";
  }
  void TearDown() override {
    GameWindowTest::TearDown();
    if (manager_ && !manager_->HasEnded()) {
      ::kill(manager_->id(), SIGTERM);
      WaitFor([&] { return manager_->HasEnded(); });
    }
  }
  std::optional<platform::Process> manager_;
};

class GameWindowBare : public GameWindowTest {
 protected:
  void SetUp() override {
    GameWindowTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_FALSE(display_->HasWindowManager());
  }
};

TEST_F(GameWindowWithManager, TheGameFrameIsMaximisedOnceThroughTheManager) {
  std::optional<WindowId> window = HandledWindow(Start());
  ASSERT_TRUE(window);
  EXPECT_FALSE(game_.display);  // nothing held once the window is handled
  ASSERT_TRUE(WaitFor([&] { return Maximized(*display_, *window) && CoversScreen(*window); }));

  // Once: taken back by the person, it stays so on the following passes.
  display_->Unmaximize(*window);
  ASSERT_TRUE(WaitFor([&] { return !Maximized(*display_, *window); }));
  for (int pass = 0; pass < 10; ++pass) WatchGameWindow(settings_, game_);
  EXPECT_FALSE(game_.window_pending);
  EXPECT_FALSE(WaitFor([&] { return Maximized(*display_, *window); }, std::chrono::seconds(2)));
  EXPECT_TRUE(game_.process);
}

TEST_F(GameWindowBare, WithoutAManagerTheFrameIsMovedAndResizedToTheScreenOnce) {
  std::optional<WindowId> window = HandledWindow(Start());
  ASSERT_TRUE(window);
  WindowGeometry screen = display_->Screen();
  ASSERT_TRUE(WaitFor([&] {
    std::optional<WindowGeometry> g = display_->Geometry(*window);
    return g && g->x == 0 && g->y == 0 && g->width == screen.width && g->height == screen.height;
  }));

  display_->MoveResize(*window, {10, 20, 400, 300});
  ASSERT_TRUE(WaitFor([&] { return display_->Geometry(*window)->width == 400; }));
  for (int pass = 0; pass < 10; ++pass) WatchGameWindow(settings_, game_);
  EXPECT_FALSE(
      WaitFor([&] { return display_->Geometry(*window)->width != 400; }, std::chrono::seconds(2)));
}

// Java names an X11 frame's class after its main class; "SunAwtFrame" is no X11 class. A window
// not to be maximised is taken as it is.
TEST_F(GameWindowBare, AClassIsComparedOnlyWhenOneIsSetThatX11FramesCarry) {
  EXPECT_EQ(launch::ComparedWindowClass("SunAwtFrame"), "");
  EXPECT_EQ(launch::ComparedWindowClass(""), "");
  record_.Maximize = 0;
  settings_.MCWINClass = "some-other-class";
  int game = Start();
  ASSERT_TRUE(WaitForWindow("Minecraft", game));
  for (int pass = 0; pass < 10; ++pass) WatchGameWindow(settings_, game_);
  EXPECT_TRUE(game_.window_pending);
  settings_.MCWINClass = "net-minecraft-client-Minecraft";
  WatchGameWindow(settings_, game_);
  EXPECT_FALSE(game_.window_pending);
}

// Another title from the game, and the right title from a process that is not the game: the
// watch takes neither and keeps looking.
TEST_F(GameWindowBare, OnlyTheGamesOwnFrameWithTheTitleIsTaken) {
  test::ScopedEnvironment title("OXLIP_FIXTURE_TITLE", "Something else");
  int game_id = Start();
  ASSERT_GT(game_id, 0);
  other_ = platform::Process::Start(
      {{OXLIP_JAVA, "-cp", test::FixtureRoot() + "download/minecraft.jar",
        "net.minecraft.client.Minecraft"},
       "",
       {{"OXLIP_FIXTURE_TITLE", "Minecraft"}, {"OXLIP_FIXTURE_REPORT", dir() + "other.txt"}},
       ""});
  ASSERT_TRUE(other_);
  std::optional<WindowId> unrelated, titled;
  ASSERT_TRUE(WaitFor([&] {
    unrelated = display_->FindWindow({"Minecraft", "", other_->id()});
    titled = display_->FindWindow({"Something else", "", game_id});
    return unrelated && titled;
  }));
  for (int pass = 0; pass < 10; ++pass) WatchGameWindow(settings_, game_);
  EXPECT_TRUE(game_.window_pending);
  // A request wrongly sent would show within moments.
  EXPECT_FALSE(WaitFor([&] { return CoversScreen(*unrelated) || CoversScreen(*titled); },
                       std::chrono::seconds(2)));
}

}  // namespace
}  // namespace oxlip

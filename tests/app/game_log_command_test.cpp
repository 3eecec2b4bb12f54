// "Show game log", and what is said when a started game ends badly.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/game_end_report.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/startup_hooks.h"
#include "platform/path.h"
#include "support/game_fixture.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

class GameLogCommandTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    app::RegisterCommands(state_.commands);
    state_.settings.StartFolder = dir();
    state_.settings.InstancesDir = dir() + "Instances/";
    state_.instances.push_back(std::make_unique<Instance>());
    record_ = state_.instances.back().get();
    record_->Name = "Survival";
    record_->Folder = "survival";
    record_->CustomJava = 1;
    record_->JavaPath = test::JavaFolder();
    record_->UseLauncher = 1;  // no login
    state_.instance_list.push_back(record_);
    app::RightClickMenu(state_, app::ListKind::kInstances, 0);
  }
  std::string Log() const { return dir() + "Instances/survival/game.log"; }

  app::AppState state_;
  Instance* record_ = nullptr;
  test::ScriptedUi ui_;
};

TEST_F(GameLogCommandTest, ShowGameLogOpensTheWindowOnTheInstancesLog) {
  EXPECT_EQ(app::RunMenuCommand(state_, ui_, app::kCmdShowGameLog), 1);
  ASSERT_EQ(ui_.game_logs.size(), 1u);
  EXPECT_EQ(ui_.game_logs[0].title, app::GameLogTitle("Survival"));
  EXPECT_EQ(platform::NativePath(ui_.game_logs[0].text), Log());
}

// The fake game ends with the code asked for, after printing the text asked for.
TEST_F(GameLogCommandTest, AGameThatEndsBadlySaysSoOnceAndOffersItsLog) {
  test::LayOutGameFolder(dir() + "Instances/survival");
  test::ScopedEnvironment seconds("OXLIP_FIXTURE_SECONDS", "0");
  test::ScopedEnvironment no_display("DISPLAY", "");
  struct Case {
    const char* exit_code;
    const char* says;
    const char* reported;  // "" when nothing is
  };
  for (const Case& c :
       {Case{"3", "", "ended with status 3."},
        Case{"0", "java.lang.IllegalStateException: broken\n\tat x.y(z)\n",
             "\njava.lang.IllegalStateException: broken"},
        Case{"0", "fine\n", ""}, Case{"143", "", ""}}) {  // asked to end (SIGTERM, handled)
    SCOPED_TRACE(c.exit_code + std::string(" ") + c.says);
    test::ScopedEnvironment exit_code("OXLIP_FIXTURE_EXIT", c.exit_code);
    test::WriteFile(dir() + "says.txt", c.says);
    test::ScopedEnvironment says("OXLIP_FIXTURE_SAY", dir() + "says.txt");
    ui_.offers.clear();
    ui_.game_logs.clear();
    ui_.offer_answer = true;
    ASSERT_GT(app::RunMenuCommand(state_, ui_, app::kCmdStart), 0);
    ASSERT_TRUE(test::WaitFor([&] {
      WatchGameWindow(state_);
      return !state_.game.process;
    }));
    app::ReportGameEnd(state_, ui_);
    app::ReportGameEnd(state_, ui_);  // said once
    if (*c.reported == '\0') {
      EXPECT_TRUE(ui_.offers.empty());
      continue;
    }
    ASSERT_EQ(ui_.offers.size(), 1u);
    EXPECT_NE(ui_.offers[0].text.find("\"Survival\""), std::string::npos) << ui_.offers[0].text;
    EXPECT_NE(ui_.offers[0].text.find(c.reported), std::string::npos) << ui_.offers[0].text;
    ASSERT_EQ(ui_.game_logs.size(), 1u);
    EXPECT_EQ(platform::NativePath(ui_.game_logs[0].text), Log());
  }
}

}  // namespace
}  // namespace oxlip

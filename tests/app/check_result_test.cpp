#include "base/check_result.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/error_text.h"
#include "support/scripted_ui.h"

namespace oxlip {
namespace {

TEST(CheckResult, ShowsTheLastErrorOnlyOnZero) {
  test::ScriptedUi ui;
  SetErrorText("DoDownloads:Can't download x");
  EXPECT_EQ(CheckResult(ui, 1), 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(CheckResult(ui, 0), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Oxlip");
  EXPECT_EQ(ui.messages[0].text, "DoDownloads:Can't download x");
}

TEST(CheckResult, WorkerTextIsSeenAfterJoin) {
  std::thread worker([] { SetErrorText("from worker"); });
  worker.join();
  EXPECT_EQ(LastErrorText(), "from worker");
}

TEST(RequireOrEnd, EndsTheProgramOnZero) {
  EXPECT_EQ(RequireOrEnd("fine", 3), 3);
  EXPECT_EXIT(RequireOrEnd("Can't open Window!", 0), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace oxlip

#include "app/check_result.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace oxlip

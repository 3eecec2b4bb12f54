// Following the game's log while it is written, moved aside and started anew; its last
// exception lines.
#include "launch/log_follower.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "launch/game_log.h"
#include "support/temp_folder.h"

namespace oxlip::launch {
namespace {

namespace fs = std::filesystem;

class LogFollowerTest : public test::InTempFolder {
 protected:
  std::string Log() const { return dir() + "game.log"; }
  void Append(const std::string& text) {
    std::ofstream(Log(), std::ios::binary | std::ios::app) << text;
  }
  // What a window showing the changes would show: the text anew, or its old text and more.
  void Expect(LogFollower& follower, bool reset, const std::string& appended) {
    std::string shown_before = follower.text();
    LogFollower::Change change = follower.Poll();
    EXPECT_EQ(change.reset, reset);
    EXPECT_EQ(change.appended, appended);
    if (!change.reset) {
      EXPECT_EQ(shown_before + change.appended, follower.text());
    }
  }
};

TEST_F(LogFollowerTest, FollowsWhatIsAddedAndStartsAgainOnAReplacedOrEmptiedFile) {
  LogFollower follower(Log());
  Expect(follower, false, "");  // no log yet
  Append("one\n");
  Expect(follower, false, "one\n");
  Expect(follower, false, "");
  Append("two \xC3");  // half a character: kept back until it is whole
  Expect(follower, false, "two ");
  Append("\xA9\n");
  Expect(follower, false, "\xC3\xA9\n");
  EXPECT_EQ(follower.text(), "one\ntwo \xC3\xA9\n");

  // The next start moves the log aside and writes a new one, perhaps between two polls.
  fs::rename(Log(), PreviousGameLog(Log()));
  Append("new run, longer than the last one was\n");
  Expect(follower, true, "");
  EXPECT_EQ(follower.text(), "new run, longer than the last one was\n");
  fs::rename(Log(), PreviousGameLog(Log()));
  Expect(follower, true, "");
  EXPECT_EQ(follower.text(), "");
  Append("third\n");
  Expect(follower, false, "third\n");
  test::WriteFile(Log(), "x\n");  // emptied in place and written anew
  Expect(follower, true, "");
  EXPECT_EQ(follower.text(), "x\n");
}

// Lines of 8 bytes under a cap of 100: 12 whole lines are read; growing past the cap drops the
// oldest lines, down to whole lines well below it.
TEST_F(LogFollowerTest, OnlyTheNewestWholeLinesWithinTheCapAreKept) {
  for (int i = 10; i < 40; ++i) Append("line " + std::to_string(i) + "\n");
  LogFollower follower(Log(), 100);
  follower.Poll();
  EXPECT_EQ(follower.text().substr(0, 8) + std::to_string(follower.text().size()), "line 28\n96");
  for (int i = 40; i < 60 && follower.text().size() > 75; ++i) {
    Append("line " + std::to_string(i) + "\n");
    bool reset = follower.Poll().reset;
    EXPECT_EQ(reset, follower.text().size() <= 75);
    EXPECT_LE(follower.text().size(), 100u);
  }
  EXPECT_LE(follower.text().size(), 75u);
  EXPECT_TRUE(follower.text().starts_with("line ")) << follower.text();
  EXPECT_TRUE(follower.text().ends_with("\n"));
}

TEST_F(LogFollowerTest, ExceptionLinesAreTakenFromTheLastOutputOnly) {
  EXPECT_TRUE(ExceptionLines(Log()).empty());
  // One line that began long ago: only its end lies within the last output.
  std::string long_ago;
  while (long_ago.size() < 100 * 1024) long_ago += "Exception long ago ";
  Append(long_ago + "\n");
  Append("started\njava.lang.RuntimeException: boom\r\n\tat a.b(c)\n");
  Append("Caused by: java.io.IOException: disk");
  EXPECT_EQ(ExceptionLines(Log()),
            (std::vector<std::string>{"java.lang.RuntimeException: boom",
                                      "Caused by: java.io.IOException: disk"}));
}

TEST(WholeCharacters, StopsBeforeAnUnfinishedSequence) {
  // clang-format off
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 0}, {"ab", 2}, {"a\xC3", 1}, {"a\xC3\xA9", 3}, {"\xE2\x82", 0},
      {"\xF0\x9F\x98\x80", 4}, {"a\xF0\x9F\x98", 1}, {"\x80\x80\x80\x80", 4}};
  // clang-format on
  for (const auto& [text, whole] : cases) EXPECT_EQ(WholeCharacters(text), whole) << text;
}

}  // namespace
}  // namespace oxlip::launch

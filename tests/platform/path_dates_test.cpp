#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/dates.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

TEST(Path, SeparatorsAndChecks) {
  EXPECT_EQ(NativePath("a\\b/c"), "a/b/c");
  EXPECT_EQ(RecordPath("a/b\\c"), "a\\b\\c");
  EXPECT_EQ(WithTrailingSeparator("/x"), "/x/");
  EXPECT_EQ(WithTrailingSeparator("/x\\"), "/x\\");
  EXPECT_TRUE(IsAbsolutePath("\\x"));
  EXPECT_TRUE(IsAbsolutePath("C:\\x"));
  EXPECT_FALSE(IsAbsolutePath("x\\y"));
  EXPECT_TRUE(HasParentPart("a\\..\\b"));
  EXPECT_TRUE(HasParentPart(".."));
  EXPECT_FALSE(HasParentPart("a..b\\..c"));
  EXPECT_EQ(FileNamePart("a/b\\c.jar"), "c.jar");
}

class DatesInZone : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }
};

TEST_F(DatesInZone, DateValuesCountLocalTime) {
  // 2011-11-18 12:00 UTC is 13:00 in Berlin (winter), 2011-07-01 12:00 UTC is 14:00 (summer).
  EXPECT_EQ(ToDateValue(1321617600), 1321617600 + 3600);
  EXPECT_EQ(ToDateValue(1309521600), 1309521600 + 7200);
  EXPECT_EQ(FromDateValue(1321617600 + 3600), 1321617600);
  EXPECT_EQ(FromDateValue(1309521600 + 7200), 1309521600);
  EXPECT_EQ(DateFromIsoText("2011-11-18T12:00:00.000Z"), 1321617600);
  EXPECT_EQ(DateFromIsoText("garbage"), 0);
}

TEST(Dates, FormatIsDayMonthYear) {
  EXPECT_EQ(FormatDate(1321617600), "18.11.2011");
  EXPECT_EQ(FormatDate(0), "01.01.1970");
  EXPECT_EQ(FormatDateTime(1321574400 + 23 * 3600 + 59 * 60 + 59), "18.11.2011 23:59");
}

}  // namespace
}  // namespace oxlip::platform

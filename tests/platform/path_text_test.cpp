// Paths, dates, letter case and command lines as text.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ascii_case.h"
#include "platform/command_line.h"
#include "platform/dates.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

using Args = std::vector<std::string>;

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

// Only A to Z fold: the bytes of "Ä" in UTF-8 (and in Latin-1, where a locale's tolower would
// change them) stay as they are.
TEST(AsciiCase, OnlyAsciiLettersFold) {
  EXPECT_EQ(LowerAscii("Minecraft.JAR [1.2_5]\xC3\x84\xC4"), "minecraft.jar [1.2_5]\xC3\x84\xC4");
  EXPECT_TRUE(EqualsNoCase("META-INF", "meta-inf"));
  EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
  EXPECT_FALSE(EqualsNoCase("a", "ab"));
  EXPECT_TRUE(StartsWithNoCase("Icon.PNG", "icon."));
  EXPECT_FALSE(StartsWithNoCase("ic", "icon."));
  EXPECT_TRUE(EndsWithNoCase("a\\MineCraft.Jar", "\\minecraft.jar"));
  EXPECT_FALSE(EndsWithNoCase("jar", ".jar"));
}

TEST(WindowsCommandLine, SplitsAsTheWindowsRuntimeDoes) {
  const std::pair<const char*, Args> cases[] = {
      {"\"C:\\Program Files\\Java\\jre7\\bin\\javaw.exe\" -jar \"C:\\Games\\Magic "
       "Launcher\\ml.jar\"",
       {"C:\\Program Files\\Java\\jre7\\bin\\javaw.exe", "-jar",
        "C:\\Games\\Magic Launcher\\ml.jar"}},
      {"\"java\" \"-Dx=/a b/c\" main  user  ", {"java", "-Dx=/a b/c", "main", "user"}},
      {"  java\targ", {"java", "arg"}},
      {"", {}},
      // Quotes in the middle of an argument only change how blanks count.
      {"p a\"b c\"d", {"p", "ab cd"}},
      {"p \"\"", {"p", ""}},
      // Backslashes count only before a quote: 2n give n and a quote, 2n+1 a literal quote.
      {"p a\\b\\\\c", {"p", "a\\b\\\\c"}},
      {"p \"a\\\\\" b", {"p", "a\\", "b"}},
      {"p a\\\"b", {"p", "a\"b"}},
      {"p \"a \"\"b\"\" c\"", {"p", "a \"b\" c"}},
      // The program name takes no escapes: a folder ending in a backslash stays as it is.
      {"\"C:\\dir\\\" x", {"C:\\dir\\", "x"}},
      {"\"unclosed program", {"unclosed program"}},
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(SplitCommandLine(line), args) << line;
}

TEST(WindowsCommandLine, AQuotedValueComesBackAsOneArgument) {
  const char* kValues[] = {"",     "plain",     "tkn host", "a\tb", "\"host\"", "say \"hi\" x",
                           "\\\"", "c:\\dir\\", "a\\\\b",   "\"\"", "x\\\"\" y"};
  for (const char* value : kValues) {
    SCOPED_TRACE(value);
    EXPECT_EQ(SplitCommandLine("p " + QuoteArgument(value) + " " + QuoteArgument(value) + " z"),
              (Args{"p", value, value, "z"}));
  }
  // Backslashes before no quote stay as they are: Windows paths read the same quoted.
  EXPECT_EQ(QuoteArgument("C:\\a b\\c"), "\"C:\\a b\\c\"");
}

}  // namespace
}  // namespace oxlip::platform

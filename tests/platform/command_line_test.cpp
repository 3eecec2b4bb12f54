// One command-line text split as the Windows runtime splits it.
#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace oxlip::platform {
namespace {

using Args = std::vector<std::string>;

TEST(WindowsCommandLine, QuotedPathsWithBlanksStayWhole) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Java\\jre7\\bin\\javaw.exe\" -jar "
                             "\"C:\\Games\\Magic Launcher\\ml.jar\""),
            (Args{"C:\\Program Files\\Java\\jre7\\bin\\javaw.exe", "-jar",
                  "C:\\Games\\Magic Launcher\\ml.jar"}));
  EXPECT_EQ(SplitCommandLine("\"java\" \"-Dx=/a b/c\" main  user  "),
            (Args{"java", "-Dx=/a b/c", "main", "user"}));
  EXPECT_EQ(SplitCommandLine("  java\targ"), (Args{"java", "arg"}));
  EXPECT_EQ(SplitCommandLine(""), Args{});
  // Quotes in the middle of an argument only change how blanks count.
  EXPECT_EQ(SplitCommandLine("p a\"b c\"d"), (Args{"p", "ab cd"}));
  EXPECT_EQ(SplitCommandLine("p \"\""), (Args{"p", ""}));
}

TEST(WindowsCommandLine, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(SplitCommandLine("p a\\b\\\\c"), (Args{"p", "a\\b\\\\c"}));
  EXPECT_EQ(SplitCommandLine("p \"a\\\\\" b"), (Args{"p", "a\\", "b"}));  // 2n: n, then a quote
  EXPECT_EQ(SplitCommandLine("p a\\\"b"), (Args{"p", "a\"b"}));           // 2n+1: a literal quote
  EXPECT_EQ(SplitCommandLine("p \"a \"\"b\"\" c\""), (Args{"p", "a \"b\" c"}));  // "" inside
  // The program name takes no escapes: a folder ending in a backslash stays as it is.
  EXPECT_EQ(SplitCommandLine("\"C:\\dir\\\" x"), (Args{"C:\\dir\\", "x"}));
  EXPECT_EQ(SplitCommandLine("\"unclosed program"), (Args{"unclosed program"}));
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

// One command-line text split as the Windows runtime splits it.
#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace oxlip::platform {
namespace {

using Args = std::vector<std::string>;

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

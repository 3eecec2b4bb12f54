#include "archive/command_line.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace oxlip::archive {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, QuotesToggleAndVanishBackslashEscapesNothing) {
  EXPECT_EQ(SplitCommandLine(R"(x "C:\my jar.jar" -hide -aoa -o"C:\work dir\")"),
            (Args{"x", R"(C:\my jar.jar)", "-hide", "-aoa", R"(-oC:\work dir\)"}));
  EXPECT_EQ(SplitCommandLine("d \"a.jar\" META-INF "), (Args{"d", "a.jar", "META-INF"}));
  EXPECT_EQ(SplitCommandLine("a\t\"\"  b"), (Args{"a", "", "b"}));
  EXPECT_EQ(SplitCommandLine("a \"open quote"), (Args{"a", "open quote"}));
}

TEST(ParseCommand, ReadsTheJarPatchLine) {
  Command c;
  std::string error;
  ASSERT_TRUE(ParseCommand(R"(a "/g/bin/minecraft.jar" "/c/minecraftjar\" -r -mx9 -x!meta-inf)", &c,
                           &error));
  EXPECT_EQ(c.letter, 'a');
  EXPECT_EQ(c.archive, "/g/bin/minecraft.jar");
  EXPECT_EQ(c.names, Args{"/c/minecraftjar\\"});
  EXPECT_TRUE(c.recurse);
  EXPECT_TRUE(c.strongest);
  ASSERT_EQ(c.exclusions.size(), 1u);
  EXPECT_EQ(c.exclusions[0].name, "meta-inf");
  EXPECT_FALSE(c.exclusions[0].any_depth);
}

TEST(ParseCommand, ReadsSwitchesBeforeTheArchiveAndUnquotedOutput) {
  Command c;
  std::string error;
  ASSERT_TRUE(
      ParseCommand("x -tzip windows_natives.jar -aoa -onatives -hide -xr!meta-inf", &c, &error));
  EXPECT_EQ(c.archive, "windows_natives.jar");
  EXPECT_EQ(c.type, Format::kZip);
  EXPECT_EQ(c.output, "natives");
  EXPECT_TRUE(c.overwrite && c.hide);
  ASSERT_EQ(c.exclusions.size(), 1u);
  EXPECT_TRUE(c.exclusions[0].any_depth);
  EXPECT_TRUE(c.names.empty());
}

TEST(ParseCommand, RefusesWhatItDoesNotKnow) {
  Command c;
  std::string error;
  EXPECT_FALSE(ParseCommand("t a.zip", &c, &error));
  EXPECT_FALSE(ParseCommand("x a.zip -p secret", &c, &error));
  EXPECT_FALSE(ParseCommand("x a.zip -tzap", &c, &error));
  EXPECT_FALSE(ParseCommand("x -aoa", &c, &error));
  EXPECT_FALSE(ParseCommand("", &c, &error));
  EXPECT_FALSE(error.empty());
}

class ListFiles : public test::InTempFolder {};

TEST_F(ListFiles, TakesCrLfAndLfLinesAndSkipsBlanks) {
  test::WriteFile("list.txt", "net\\a.class\r\n\r\nb.class\nlast");
  Command c;
  std::string error;
  ASSERT_TRUE(ParseCommand("u \"t.jar\" -hide -tzip -mx9 @list.txt", &c, &error));
  ASSERT_TRUE(ReadListFiles(&c, &error));
  EXPECT_EQ(c.listed, (Args{"net\\a.class", "b.class", "last"}));
  EXPECT_TRUE(c.names.empty());
}

TEST_F(ListFiles, MissingListIsAFailure) {
  Command c;
  std::string error;
  ASSERT_TRUE(ParseCommand("u t.jar @absent.txt", &c, &error));
  EXPECT_FALSE(ReadListFiles(&c, &error));
}

}  // namespace
}  // namespace oxlip::archive

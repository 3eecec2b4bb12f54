#include "instances/mod_list_file.h"

#include <gtest/gtest.h>

namespace oxlip {
namespace {

using Lines = std::vector<std::string>;

TEST(ModListFileTest, EveryLineEndIsAcceptedAndInnerEmptyLinesStay) {
  EXPECT_EQ(ParseModListText("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(ParseModListText("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(ParseModListText("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(ParseModListText("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ParseModListText("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ParseModListText("a\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ParseModListText("\r\n"), (Lines{""}));
  EXPECT_EQ(ParseModListText(""), Lines{});
}

TEST(ModListFileTest, WrittenTextReadsBackTheSameList) {
  Lines mods{"x", "", "dir\\y z"};
  EXPECT_EQ(ModListText(mods), "x\r\n\r\ndir\\y z\r\n");
  EXPECT_EQ(ParseModListText(ModListText(mods)), mods);
  EXPECT_EQ(ModListText({}), "");
}

}  // namespace
}  // namespace oxlip

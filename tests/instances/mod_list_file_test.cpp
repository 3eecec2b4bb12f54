#include "instances/mod_list_file.h"

#include <gtest/gtest.h>

namespace oxlip {
namespace {

using Lines = std::vector<std::string>;

TEST(ModListFileTest, EveryLineEndIsAcceptedAndInnerEmptyLinesStay) {
  EXPECT_EQ(instances::ParseModListText("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(instances::ParseModListText("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(instances::ParseModListText("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(instances::ParseModListText("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(instances::ParseModListText("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(instances::ParseModListText("a\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(instances::ParseModListText("\r\n"), (Lines{""}));
  EXPECT_EQ(instances::ParseModListText(""), Lines{});
}

TEST(ModListFileTest, WrittenTextReadsBackTheSameList) {
  Lines mods{"x", "", "dir\\y z"};
  EXPECT_EQ(instances::ModListText(mods), "x\r\n\r\ndir\\y z\r\n");
  EXPECT_EQ(instances::ParseModListText(instances::ModListText(mods)), mods);
  EXPECT_EQ(instances::ModListText({}), "");
}

}  // namespace
}  // namespace oxlip

// The element reader: nesting, quoted text, the end of a walk and text that is cut off.
#include "altlauncher/next_tag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace oxlip {
namespace {

// Every child of the element that begins at `open` (its "<"), in order.
std::vector<std::string> Children(std::string_view text, std::size_t open) {
  std::vector<std::string> children;
  std::size_t position = open + 1;
  for (std::string_view child = NextTag(text, &position); !child.empty();
       child = NextTag(text, &position))
    children.emplace_back(child);
  return children;
}

TEST(NextTag, ReturnsWholeElementsWithTheirChildrenAndSkipsTextBetween) {
  std::string_view text = "junk <A x=\"1\" <B> <C <D>>> tail <E>";
  std::size_t position = 0;
  EXPECT_EQ(NextTag(text, &position), "<A x=\"1\" <B> <C <D>>>");
  EXPECT_EQ(text.substr(position), " tail <E>");
  EXPECT_EQ(NextTag(text, &position), "<E>");
  EXPECT_EQ(position, text.size());
  EXPECT_EQ(NextTag(text, &position), "");
  EXPECT_EQ(position, text.size());
}

TEST(NextTag, WalkOfChildrenEndsAtTheElementsOwnCloseAndNotBeyond) {
  std::string_view text = "<P <Name=\"n\"> text <Mod <File=\"f\">> ><Other>";
  EXPECT_EQ(Children(text, 0), (std::vector<std::string>{"<Name=\"n\">", "<Mod <File=\"f\">>"}));
  // The close yields the empty result with the position just past it.
  std::size_t position = text.find("><Other");
  EXPECT_EQ(NextTag(text, &position), "");
  EXPECT_EQ(text.substr(position), "<Other>");
}

TEST(NextTag, MarkupInsideQuotesIsText) {
  std::string_view text = "<P <Name=\"a>b<c\"> <Jar=\">\">>";
  EXPECT_EQ(Children(text, 0), (std::vector<std::string>{"<Name=\"a>b<c\">", "<Jar=\">\">"}));
  std::size_t position = 0;
  EXPECT_EQ(NextTag(text, &position), text);
}

TEST(NextTag, TextEndingInsideAnElementGivesWhatThereIsAndSaysSo) {
  std::string_view text = "<P <Name=\"n\"> <Mod <File=\"f\">";
  std::size_t position = 0;
  bool cut_off = false;
  EXPECT_EQ(NextTag(text, &position, &cut_off), text);
  EXPECT_TRUE(cut_off);
  EXPECT_EQ(position, text.size());

  // An open quote hides the closing ">" up to the end.
  std::string_view quoted = "<Name=\"never closed>";
  position = 0;
  EXPECT_EQ(NextTag(quoted, &position, &cut_off), quoted);
  EXPECT_TRUE(cut_off);

  position = 0;
  EXPECT_EQ(NextTag("<A>", &position, &cut_off), "<A>");
  EXPECT_FALSE(cut_off);
  position = 0;
  EXPECT_EQ(NextTag("only text", &position, &cut_off), "");
  EXPECT_FALSE(cut_off);
}

TEST(NextTag, PositionPastTheEndReadsNothing) {
  std::size_t position = 99;
  EXPECT_EQ(NextTag("<A>", &position), "");
  EXPECT_EQ(position, 3u);
  position = 0;
  EXPECT_EQ(NextTag("", &position), "");
}

}  // namespace
}  // namespace oxlip

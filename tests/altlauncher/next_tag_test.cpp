// The element reader: nesting, quoted text, the end of a walk and text that is cut off.
#include "altlauncher/next_tag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace oxlip {
namespace {

// The elements NextTag gives from `position` on until it gives none, and where it stops.
std::vector<std::string> Walk(std::string_view text, std::size_t position, std::size_t* end) {
  std::vector<std::string> found;
  for (std::string_view tag = NextTag(text, &position); !tag.empty();
       tag = NextTag(text, &position))
    found.emplace_back(tag);
  *end = position;
  return found;
}

// Whole elements with their children, text between skipped; a walk of children ends just past
// the element's own close; markup inside quotes is text.
TEST(NextTag, WalksElementsAndChildren) {
  const struct {
    std::string_view text;
    std::size_t start;
    std::vector<std::string> found;
    std::string_view rest;
  } cases[] = {
      {"junk <A x=\"1\" <B> <C <D>>> tail <E>", 0, {"<A x=\"1\" <B> <C <D>>>", "<E>"}, ""},
      {"<P <Name=\"n\"> text <Mod <File=\"f\">> ><Other>",
       1,
       {"<Name=\"n\">", "<Mod <File=\"f\">>"},
       "<Other>"},
      {"<P <Name=\"a>b<c\"> <Jar=\">\">>", 1, {"<Name=\"a>b<c\">", "<Jar=\">\">"}, ""},
      {"<P <Name=\"a>b<c\"> <Jar=\">\">>", 0, {"<P <Name=\"a>b<c\"> <Jar=\">\">>"}, ""},
      {"<A>", 99, {}, ""},
      {"", 0, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::size_t end = 0;
    EXPECT_EQ(Walk(c.text, c.start, &end), c.found);
    EXPECT_EQ(c.text.substr(std::min(end, c.text.size())), c.rest);
    EXPECT_LE(end, c.text.size());
  }
}

// Text ending inside an element gives what there is and says so; an open quote hides the
// closing ">" up to the end.
TEST(NextTag, TextCutOffInsideAnElement) {
  const std::pair<std::string_view, bool> cases[] = {{"<P <Name=\"n\"> <Mod <File=\"f\">", true},
                                                     {"<Name=\"never closed>", true},
                                                     {"<A>", false},
                                                     {"only text", false}};
  for (const auto& [text, cut] : cases) {
    std::size_t position = 0;
    bool cut_off = !cut;
    EXPECT_EQ(NextTag(text, &position, &cut_off), text.starts_with("<") ? text : "") << text;
    EXPECT_EQ(cut_off, cut) << text;
    EXPECT_EQ(position, text.size()) << text;
  }
}

}  // namespace
}  // namespace oxlip

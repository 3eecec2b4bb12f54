// Reading Magic Launcher's configuration text: its elements, their values and the active
// profile.
#include "altlauncher/magic_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "altlauncher/next_tag.h"

namespace oxlip::altlauncher {
namespace {

// A value is what stands between the first two quotes; a path value reads each doubled
// backslash as one.
TEST(MagicConfigValues, ValuesPathsAndTheActiveProfileNumber) {
  // clang-format off
  const std::pair<const char*, const char*> values[] = {
      {"<Name=\"My \"profile\">", "My "}, {"<Name=\"\">", ""}, {"<Name=\"unclosed>", ""},
      {"<Name=plain>", ""}, {R"(<Name="a\\b">)", R"(a\\b)"}};
  // clang-format on
  for (const auto& [element, value] : values) EXPECT_EQ(ElementValue(element), value) << element;
  EXPECT_EQ(PathValue(R"(<File="C:\\Users\\me\\a.zip">)"), R"(C:\Users\me\a.zip)");
  EXPECT_EQ(PathValue(R"(<File="\\\\server\\share">)"), R"(\\server\share)");
  EXPECT_EQ(PathValue(R"(<File="odd\\\end\">)"), R"(odd\\end\)");

  // The first index element's quoted number; missing: the first profile; cut off before its
  // ">": no number can be trusted.
  // clang-format off
  const std::pair<const char*, std::optional<int>> numbers[] = {
      {R"(<X <ActiveProfileIndex="12"> <ActiveProfileIndex="3">>)", 12}, {"<Profile>", 0},
      {R"(<ActiveProfileIndex="-1">)", -1}, {R"(<ActiveProfileIndex="">)", 0},
      {"<ActiveProfileIndex=>", 0}, {R"(<ActiveProfileIndex=">)", 0},
      {R"(<ActiveProfileIndex="1)", std::nullopt}, {"<ActiveProfileIndex=", std::nullopt}};
  // clang-format on
  for (const auto& [text, number] : numbers) EXPECT_EQ(ActiveProfileNumber(text), number) << text;
  EXPECT_GT(*ActiveProfileNumber(R"(<ActiveProfileIndex="99999999999999999999999">)"), 1000000);

  // Every occurrence of the profile text counts.
  std::string_view text = "<Profiles <Profile a> <ProfileX b> <Profile c>>";
  EXPECT_EQ(FindProfile(text, 0), 0u);
  EXPECT_EQ(FindProfile(text, 2), text.find("<ProfileX"));
  EXPECT_EQ(FindProfile(text, 3), text.find("<Profile c"));
  for (int index : {4, -1}) EXPECT_EQ(FindProfile(text, index), std::nullopt);
  EXPECT_EQ(FindProfile("<Profile", 0), 0u);
  EXPECT_EQ(FindProfile("", 0), std::nullopt);
}

constexpr const char* kTwoProfiles = R"(<MagicLauncher
  <ActiveProfileIndex="1">
  <Profile <Name="First"> <MinecraftJar="C:\\first.jar"> >
  <Profile
    <Name="Old name"> <Name="Second">
    <MinecraftJar="C:\\old.jar">
    <Mod <File="C:\\mods\\a.zip"> <Active="true"> >
    <Mod <Active="true"> >
    <Mod <File="C:\\mods\\b.zip"> <Active="True"> >
    <Mod <File="C:\\mods\\c.zip"> <Active="false"> <Active="true"> >
    <MinecraftJar="C:\\games\\second.jar">
  >
>)";

TEST(MagicConfigProfiles, ReadsTheActiveProfileAndLaterElementsWin) {
  ActiveProfile active = ReadActiveProfile(kTwoProfiles);
  ASSERT_EQ(active.status, ProfileStatus::kFound);
  EXPECT_EQ(active.profile.name, "Second");
  EXPECT_EQ(active.profile.jar, R"(C:\games\second.jar)");
  ASSERT_EQ(active.profile.mods.size(), 4u);
  EXPECT_EQ(active.profile.mods[0].file, R"(C:\mods\a.zip)");
  EXPECT_TRUE(active.profile.mods[0].active);
  EXPECT_EQ(active.profile.mods[1].file, "");
  EXPECT_FALSE(active.profile.mods[2].active);  // only "true" exactly
  EXPECT_TRUE(active.profile.mods[3].active);

  // A profile cut off by the end of the file would be stamped with only part of its mods.
  const std::string whole = kTwoProfiles;
  const struct {
    std::string text;
    ProfileStatus status;
  } cases[] = {
      {whole.substr(0, whole.rfind("c.zip")), ProfileStatus::kDamaged},
      {whole.substr(0, whole.rfind("<Active")), ProfileStatus::kDamaged},
      {whole.substr(0, whole.rfind(">\n>")), ProfileStatus::kDamaged},
      {"<ActiveProfileIndex=\"0\"> <Profile <Name=\"P\">> <Profile <Name=\"cut",
       ProfileStatus::kFound},
      {"<ActiveProfileIndex=\"2\"> <Profile <Name=\"P\">> <Profile>", ProfileStatus::kNone},
      {"<ActiveProfileIndex=\"-1\"> <Profile <Name=\"P\">>", ProfileStatus::kNone},
      {"<Profile <Name=\"P\">> <ActiveProfileIndex=\"1", ProfileStatus::kDamaged},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadActiveProfile(c.text).status, c.status) << c.text;
}

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
}  // namespace oxlip::altlauncher

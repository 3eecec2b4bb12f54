// Reading the active profile out of Magic Launcher's configuration text.
#include "altlauncher/magic_config.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace oxlip::altlauncher

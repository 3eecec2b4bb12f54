// Reading the active profile out of Magic Launcher's configuration text.
#include "altlauncher/magic_config.h"

#include <gtest/gtest.h>

namespace oxlip::altlauncher {
namespace {

TEST(MagicConfigValues, ValueIsBetweenTheFirstTwoQuotes) {
  EXPECT_EQ(ElementValue("<Name=\"My \"profile\">"), "My ");
  EXPECT_EQ(ElementValue("<Name=\"\">"), "");
  EXPECT_EQ(ElementValue("<Name=\"unclosed>"), "");
  EXPECT_EQ(ElementValue("<Name=plain>"), "");
}

TEST(MagicConfigValues, PathValueReadsEachDoubledBackslashAsOne) {
  EXPECT_EQ(PathValue(R"(<File="C:\\Users\\me\\mods\\a.zip">)"), R"(C:\Users\me\mods\a.zip)");
  EXPECT_EQ(PathValue(R"(<File="\\\\server\\share">)"), R"(\\server\share)");
  EXPECT_EQ(PathValue(R"(<File="odd\\\end\">)"), R"(odd\\end\)");
  // The name value is text, not a path.
  EXPECT_EQ(ElementValue(R"(<Name="a\\b">)"), R"(a\\b)");
}

TEST(MagicConfigNumber, ReadsTheQuotedNumberOfTheFirstIndexElement) {
  EXPECT_EQ(ActiveProfileNumber(R"(<X <ActiveProfileIndex="12"> <ActiveProfileIndex="3">>)"), 12);
  EXPECT_EQ(ActiveProfileNumber(R"(<Profile>)"), 0);  // missing: the first profile
  EXPECT_EQ(ActiveProfileNumber(R"(<ActiveProfileIndex="-1">)"), -1);
  EXPECT_EQ(ActiveProfileNumber(R"(<ActiveProfileIndex="">)"), 0);
  EXPECT_EQ(ActiveProfileNumber(R"(<ActiveProfileIndex=>)"), 0);
  EXPECT_EQ(ActiveProfileNumber(R"(<ActiveProfileIndex=">)"), 0);
  EXPECT_EQ(ActiveProfileNumber(R"(<ActiveProfileIndex="99999999999999999999999">)") > 1000000,
            true);
  // Cut off before its ">": no number can be trusted.
  EXPECT_EQ(ActiveProfileNumber(R"(<ActiveProfileIndex="1)"), std::nullopt);
  EXPECT_EQ(ActiveProfileNumber("<ActiveProfileIndex="), std::nullopt);
}

TEST(MagicConfigProfiles, CountsEveryOccurrenceOfTheProfileText) {
  std::string_view text = "<Profiles <Profile a> <ProfileX b> <Profile c>>";
  EXPECT_EQ(FindProfile(text, 0), 0u);
  EXPECT_EQ(FindProfile(text, 1), text.find("<Profile a"));
  EXPECT_EQ(FindProfile(text, 2), text.find("<ProfileX"));
  EXPECT_EQ(FindProfile(text, 3), text.find("<Profile c"));
  EXPECT_EQ(FindProfile(text, 4), std::nullopt);
  EXPECT_EQ(FindProfile(text, -1), std::nullopt);
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
}

TEST(MagicConfigProfiles, QuotedCloseDoesNotEndTheProfile) {
  ActiveProfile active = ReadActiveProfile(
      R"(<Profile <Name="a > b"> <Mod <File="x>.zip"> <Active="true">> <MinecraftJar="j">>)");
  ASSERT_EQ(active.status, ProfileStatus::kFound);
  EXPECT_EQ(active.profile.name, "a > b");
  EXPECT_EQ(active.profile.jar, "j");
  ASSERT_EQ(active.profile.mods.size(), 1u);
  EXPECT_EQ(active.profile.mods[0].file, "x>.zip");
}

TEST(MagicConfigProfiles, MissingOrNegativeProfileIsNone) {
  EXPECT_EQ(ReadActiveProfile(R"(<ActiveProfileIndex="2"> <Profile> <Profile>)").status,
            ProfileStatus::kNone);
  EXPECT_EQ(ReadActiveProfile(R"(<ActiveProfileIndex="-1"> <Profile <Name="p">>)").status,
            ProfileStatus::kNone);
  EXPECT_EQ(ReadActiveProfile("").status, ProfileStatus::kNone);
  ActiveProfile first = ReadActiveProfile(R"(<Profile <Name="p">> <Profile <Name="q">>)");
  EXPECT_EQ(first.status, ProfileStatus::kFound);
  EXPECT_EQ(first.profile.name, "p");
}

TEST(MagicConfigProfiles, TextCutOffInsideTheActiveProfileIsDamaged) {
  std::string text = kTwoProfiles;
  std::string cut = text.substr(0, text.find("<Mod <File=\"C:\\\\mods\\\\b.zip"));
  EXPECT_EQ(ReadActiveProfile(cut).status, ProfileStatus::kDamaged);
  // Cut inside a tag's quoted value.
  EXPECT_EQ(ReadActiveProfile(text.substr(0, text.find("second.jar"))).status,
            ProfileStatus::kDamaged);
  EXPECT_EQ(ReadActiveProfile(R"(<ActiveProfileIndex="0)").status, ProfileStatus::kDamaged);
  // A cut in a later profile leaves the active one whole.
  ActiveProfile earlier =
      ReadActiveProfile(R"(<ActiveProfileIndex="0"> <Profile <Name="p">> <Profile <Name=")");
  EXPECT_EQ(earlier.status, ProfileStatus::kFound);
  EXPECT_EQ(earlier.profile.name, "p");
}

}  // namespace
}  // namespace oxlip::altlauncher

#include <gtest/gtest.h>

#include <regex>

#include "instance_fixture.h"
#include "instances/mod_list_file.h"
#include "instances/version_file.h"
#include "support/icon_images.h"

namespace oxlip::test {
namespace {

using LoadInstanceTest = InstanceTest;

// A new record ("") gets a dated name and a fresh folder; one without settings is named after
// its folder.
TEST_F(LoadInstanceTest, WithoutSettingsEveryValueIsItsDefault) {
  WriteInstanceFile("Empty one", "settings.ini", "");
  for (const char* folder : {"", "Empty one", "never made"}) {
    SCOPED_TRACE(folder);
    Instance r = Load(folder);
    if (*folder) {
      EXPECT_EQ(r.Name, folder);
      EXPECT_EQ(r.Folder, folder);
    } else {
      EXPECT_TRUE(std::regex_match(r.Name, std::regex("New [0-3][0-9]-[01][0-9]-[0-9]{4}")));
      EXPECT_TRUE(
          std::regex_match(r.Folder, std::regex("[0-9A-F]+ - New.[0-9]{2}-[0-9]{2}-[0-9]{4}")));
    }
    EXPECT_EQ(r.MineCraftFile, "\\\\release");
    EXPECT_EQ(r.JavaPath, kFoundJava);
    EXPECT_EQ(r.Icon.image(), default_icon_.image());
    EXPECT_TRUE(r.Mods.empty());
  }
}

TEST_F(LoadInstanceTest, ReloadingIntoAUsedRecordForgetsWhatItHeld) {
  WriteInstanceFile("a", "settings.ini", "Name = A\r\nConnectIP = host\r\n");
  WriteInstanceFile("a", "mods.ini", "m\r\n");
  WritePng(dir() + "Instances/a/icon.png", 3, 2);
  Instance r = Load("a");
  LoadInstance(r, "b", {settings_, newest_jar_, default_icon_, ""});
  EXPECT_EQ(r.Name, "b");
  EXPECT_EQ(r.ConnectIP, "");
  EXPECT_TRUE(r.Mods.empty());
  EXPECT_TRUE(r.Icon.IsDefault());
}

// Update and Type decide the channel, MineCraftFile is ignored; the saved file holds the
// channel and neither legacy key (Name always comes first, so each would follow a line end).
TEST_F(LoadInstanceTest, OldLayoutsTakeTheirChannelFromUpdateAndType) {
  constexpr const char* kJar = "minecraft - 1.2.5.jar";
  const struct {
    const char *keys, *newest_jar, *expected;
  } cases[] = {{"Update = 1\r\nType = 1\r\n", kJar, "\\\\beta"},
               {"Update = 0\r\nType = 0\r\n", kJar, "\\\\release"},
               {"Update = 0\r\nType = 1\r\n", kJar, "\\\\beta"},
               {"Update = 2\r\nType = 1\r\n", kJar, kJar},
               // Pinned with no stored version: stays on the release.
               {"Update = 2\r\n", "", "\\\\release"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    newest_jar_ = c.newest_jar;
    WriteInstanceFile("old", "settings.ini", std::string(c.keys) + "MineCraftFile = other.jar\r\n");
    Instance r = Load("old");
    EXPECT_EQ(r.MineCraftFile, c.expected);
    Save(r);
    std::string saved = ReadInstanceFile("old", "settings.ini");
    EXPECT_NE(saved.find("MineCraftFile = " + std::string(c.expected) + "\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("\nUpdate ="), std::string::npos);
    EXPECT_EQ(saved.find("\nType ="), std::string::npos);
  }
}

// JavaPath counts only with CustomJava, and is saved right after it.
TEST_F(LoadInstanceTest, JavaPathCountsOnlyWithCustomJava) {
  WriteInstanceFile("off", "settings.ini", "CustomJava = 0\r\nJavaPath = /mine/bin/\r\n");
  WriteInstanceFile("on", "settings.ini", "CustomJava = 1\r\nJavaPath = /mine/bin/\r\n");
  Instance off = Load("off"), on = Load("on");
  EXPECT_EQ(off.JavaPath, kFoundJava);
  EXPECT_EQ(on.JavaPath, "/mine/bin/");
  Save(off);
  Save(on);
  EXPECT_EQ(ReadInstanceFile("off", "settings.ini").find("JavaPath"), std::string::npos);
  EXPECT_NE(ReadInstanceFile("on", "settings.ini")
                .find("CustomJava = 1\r\nJavaPath = /mine/bin/\r\nMaximize = 0\r\n"),
            std::string::npos);
}

// A release instance takes its date from the version file the store wrote (00 0D, the date in
// milliseconds) and does not save it; a beta keeps its own unless it is zero; damaged numbers
// read as zero.
TEST_F(LoadInstanceTest, BetaVersionAndDamagedNumbers) {
  const std::string version_file = std::string("\x00\x0D", 2) + "1339000000123";
  const struct {
    const char *settings, *version;
    int beta_version, max_memory;
  } cases[] = {
      {"BetaVersion = 77\r\n", "", 1339000000, 1024},
      {"MineCraftFile = \\\\beta\r\nBetaVersion = 55\r\n", "", 55, 1024},
      {"MineCraftFile = \\\\beta\r\nBetaVersion = 0\r\n", "", 1339000000, 1024},
      {"MaxMemory = lots\r\nMinMemory =\r\n", "soon000", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    WriteInstanceFile("r", "settings.ini", c.settings);
    WriteInstanceFile("r", ".minecraft/bin/version",
                      *c.version ? std::string("\x00\x0D", 2) + c.version : version_file);
    Instance r = Load("r");
    EXPECT_EQ(r.BetaVersion, c.beta_version);
    EXPECT_EQ(r.MaxMemory, c.max_memory);
  }
  WriteInstanceFile("r", "settings.ini", "BetaVersion = 77\r\n");
  Save(Load("r"));
  EXPECT_EQ(ReadInstanceFile("r", "settings.ini").find("BetaVersion"), std::string::npos);
}

using Lines = std::vector<std::string>;

// Every line end is accepted and inner empty lines stay; written text reads back the same.
TEST(ModListFile, LinesAndTheTextWrittenForThem) {
  const std::pair<const char*, Lines> cases[] = {{"a\r\nb\r\n", {"a", "b"}},
                                                 {"a\nb", {"a", "b"}},
                                                 {"a\rb\r", {"a", "b"}},
                                                 {"a\r\n\r\nb", {"a", "", "b"}},
                                                 {"a\n\nb", {"a", "", "b"}},
                                                 {"a\n\r\nb", {"a", "", "b"}},
                                                 {"\r\n", {""}},
                                                 {"", {}}};
  for (const auto& [text, lines] : cases)
    EXPECT_EQ(oxlip::instances::ParseModListText(text), lines) << text;
  Lines mods{"x", "", "dir\\y z"};
  EXPECT_EQ(oxlip::instances::ModListText(mods), "x\r\n\r\ndir\\y z\r\n");
  EXPECT_EQ(oxlip::instances::ParseModListText(oxlip::instances::ModListText(mods)), mods);
  EXPECT_EQ(oxlip::instances::ModListText({}), "");
}

// Milliseconds after a two-byte marker, whatever its bytes; only the first line counts; short
// or damaged files give zero.
TEST(VersionFileTest, TheFirstLineGivesSeconds) {
  const std::pair<std::string, long long> cases[] = {{"1339000000123", 1339000000},
                                                     {"5000", 5},
                                                     {"  -7000", -7},
                                                     {"1234000\r\n999999000", 1234},
                                                     {"1234000\n9", 1234},
                                                     {"1234000\rjunk", 1234},
                                                     {"", 0},
                                                     {"000", 0},
                                                     {"12", 0},
                                                     {"abc123000", 0},
                                                     {"\r\n1234000", 0},
                                                     {"12\n34000", 0}};
  for (const auto& [text, seconds] : cases)
    EXPECT_EQ(oxlip::instances::ReadVersionFileDate(std::string("\x00\x0D", 2) + text), seconds)
        << text;
  EXPECT_EQ(oxlip::instances::ReadVersionFileDate("9912000"), 12);
  EXPECT_EQ(oxlip::instances::ReadVersionFileDate(std::string("\x00", 1)), 0);
  EXPECT_EQ(oxlip::instances::ReadVersionFileDate(""), 0);
}

}  // namespace
}  // namespace oxlip::test

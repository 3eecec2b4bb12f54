#include <gtest/gtest.h>

#include <regex>

#include "instance_fixture.h"
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
    EXPECT_EQ(r.MinMemory, 512);
    EXPECT_EQ(r.MaxMemory, 1024);
    EXPECT_EQ(r.BetaVersion, 0);
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

struct LegacyCase {
  const char* keys;
  const char* newest_jar;
  const char* expected;
};

class LegacyLayoutTest : public InstanceTest, public ::testing::WithParamInterface<LegacyCase> {};

TEST_P(LegacyLayoutTest, UpdateAndTypeDecideTheChannelAndMineCraftFileIsIgnored) {
  newest_jar_ = GetParam().newest_jar;
  WriteInstanceFile("old", "settings.ini",
                    std::string(GetParam().keys) + "MineCraftFile = other.jar\r\n");
  Instance r = Load("old");
  EXPECT_EQ(r.MineCraftFile, GetParam().expected);

  Save(r);
  std::string saved = ReadInstanceFile("old", "settings.ini");
  EXPECT_NE(saved.find("MineCraftFile = " + std::string(GetParam().expected) + "\r\n"),
            std::string::npos);
  // Name always comes first, so each legacy key would follow a line end.
  EXPECT_EQ(saved.find("\nUpdate ="), std::string::npos);
  EXPECT_EQ(saved.find("\nType ="), std::string::npos);
}

constexpr const char* kJar = "minecraft - 1.2.5.jar";
INSTANTIATE_TEST_SUITE_P(
    Cases, LegacyLayoutTest,
    ::testing::Values(LegacyCase{"Update = 1\r\nType = 1\r\n", kJar, "\\\\beta"},
                      LegacyCase{"Update = 0\r\nType = 0\r\n", kJar, "\\\\release"},
                      LegacyCase{"Update = 0\r\nType = 1\r\n", kJar, "\\\\beta"},
                      LegacyCase{"Update = 2\r\nType = 1\r\n", kJar, kJar},
                      // Pinned with no stored version: stays on the release.
                      LegacyCase{"Update = 2\r\n", "", "\\\\release"}));

TEST_F(LoadInstanceTest, JavaPathCountsOnlyWithCustomJava) {
  WriteInstanceFile("off", "settings.ini", "CustomJava = 0\r\nJavaPath = /mine/bin/\r\n");
  WriteInstanceFile("on", "settings.ini", "CustomJava = 1\r\nJavaPath = /mine/bin/\r\n");
  Instance off = Load("off");
  EXPECT_EQ(off.JavaPath, kFoundJava);
  Save(off);
  EXPECT_EQ(ReadInstanceFile("off", "settings.ini").find("JavaPath"), std::string::npos);

  Instance on = Load("on");
  EXPECT_EQ(on.JavaPath, "/mine/bin/");
  Save(on);
  EXPECT_NE(ReadInstanceFile("on", "settings.ini").find("JavaPath = /mine/bin/\r\n"),
            std::string::npos);
}

// The version store writes 00 0D, the date in seconds and "000".
const std::string kVersionFile = std::string("\x00\x0D", 2) + "1339000000123";

TEST_F(LoadInstanceTest, BetaVersionOfAReleaseInstanceComesFromTheVersionFile) {
  WriteInstanceFile("r", "settings.ini", "BetaVersion = 77\r\n");
  WriteInstanceFile("r", ".minecraft/bin/version", kVersionFile);
  Instance r = Load("r");
  EXPECT_EQ(r.BetaVersion, 1339000000);
  Save(r);
  EXPECT_EQ(ReadInstanceFile("r", "settings.ini").find("BetaVersion"), std::string::npos);
}

TEST_F(LoadInstanceTest, BetaInstanceKeepsItsStoredDateAndFallsBackWhenItIsZero) {
  WriteInstanceFile("b", "settings.ini", "MineCraftFile = \\\\beta\r\nBetaVersion = 55\r\n");
  WriteInstanceFile("b", ".minecraft/bin/version", kVersionFile);
  EXPECT_EQ(Load("b").BetaVersion, 55);

  WriteInstanceFile("b", "settings.ini", "MineCraftFile = \\\\beta\r\nBetaVersion = 0\r\n");
  EXPECT_EQ(Load("b").BetaVersion, 1339000000);
}

TEST_F(LoadInstanceTest, DamagedNumbersReadAsZero) {
  WriteInstanceFile("d", "settings.ini", "MaxMemory = lots\r\nMinMemory =\r\n");
  WriteInstanceFile("d", ".minecraft/bin/version", std::string("\x00\x0D", 2) + "soon000");
  Instance r = Load("d");
  EXPECT_EQ(r.MaxMemory, 0);
  EXPECT_EQ(r.MinMemory, 0);
  EXPECT_EQ(r.BetaVersion, 0);
}

}  // namespace
}  // namespace oxlip::test

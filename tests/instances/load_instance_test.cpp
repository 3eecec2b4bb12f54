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

}  // namespace
}  // namespace oxlip::test

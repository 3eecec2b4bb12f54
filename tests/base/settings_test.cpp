#include "base/settings.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using test::ReadFile;
using test::WriteFile;

class SettingsTest : public test::InTempFolder {};

// Folders follow the start folder and are made; reading writes nothing.
TEST_F(SettingsTest, FirstStartMakesTheFoldersAndSaveWritesEveryKeyInItsOrder) {
  GlobalSettings s;
  LoadGlobalSettings(s);
  EXPECT_EQ(s.StartFolder, dir());
  EXPECT_EQ(s.CacheDir, dir() + "Cache/");
  EXPECT_EQ(s.DefaultIconFile, dir() + "Icons/Default.png");
  EXPECT_EQ(s.MCWINClass, "");  // any class: Java names its frames after the main class here
  for (const char* folder : {"Cache", "Instances", "mcversions", "mods", "downgrade"})
    EXPECT_TRUE(platform::IsFolder(dir() + folder)) << folder;
  EXPECT_FALSE(platform::Exists(dir() + "Oxlip.ini"));

  s.WinX = 10;
  s.LatestVersion = 1321618496;
  SaveGlobalSettings(s);
  std::string text = ReadFile(dir() + "Oxlip.ini"), keys;
  for (size_t pos = 0; pos < text.size(); pos = text.find("\r\n", pos) + 2)
    keys += text.substr(pos, text.find(" = ", pos) - pos) + " ";
  EXPECT_EQ(keys,
            "MCLOGINURL MCLOGINVER MCURL MCRESURL MCASSETSURL CacheDir InstancesDir VersionsDir "
            "ModDir MCWINClass MCWIName MCWINameLauncher MCWINameAltLauncher PatchDir WinX WinY "
            "WinW WinH DefaultIconFile LatestVersion LatestVersionNr ");
  EXPECT_NE(text.find("WinX = 10\r\nWinY = -1\r\n"), std::string::npos);
  GlobalSettings again;
  LoadGlobalSettings(again);
  EXPECT_EQ(again.LatestVersion, 1321618496);
  EXPECT_EQ(again.CacheDir, s.CacheDir);

  // The file lies in the start folder, not in the current one.
  platform::DeleteFile(dir() + "Oxlip.ini");
  s.StartFolder = dir() + "start/";
  platform::CreateFolder(s.StartFolder);
  SaveGlobalSettings(s);
  EXPECT_TRUE(platform::IsFile(dir() + "start/Oxlip.ini"));
  EXPECT_FALSE(platform::Exists(dir() + "Oxlip.ini"));
}

// No separator is added, a damaged number reads as zero, a missing parent is not made.
TEST_F(SettingsTest, StoredValuesAreUsedAsTheyStand) {
  WriteFile(dir() + "Oxlip.ini", "ModDir = " + dir() + "mymods\r\nCacheDir = \r\nWinW = wide\r\n" +
                                     "PatchDir = " + dir() + "no/such/\r\n[G]\r\nWinH = 1\r\n");
  GlobalSettings s;
  LoadGlobalSettings(s);
  EXPECT_EQ(s.ModDir, dir() + "mymods");
  EXPECT_EQ(s.CacheDir, "");
  EXPECT_EQ(s.WinW, 0);
  EXPECT_EQ(s.WinH, 480);
  EXPECT_TRUE(platform::IsFolder(dir() + "mymods"));
  EXPECT_FALSE(platform::Exists(dir() + "no"));
}

}  // namespace
}  // namespace oxlip

// Which folder a run keeps its files in, and the settings that follow from it.
#include "base/data_folder.h"

#include <gtest/gtest.h>

#include "base/settings.h"
#include "platform/fs.h"
#include "support/game_fixture.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip::base {
namespace {

class DataFolderTest : public test::InTempFolder {};

TEST_F(DataFolderTest, TheCommandLineThenAPortableFolderThenTheUsersDataFolder) {
  struct Case {
    const char* name;
    std::string chosen, xdg_data, xdg_cache, home;
    bool portable;
    std::string folder, cache;  // relative to dir(); cache "" for below the folder
  };
  const Case cases[] = {
      {"--data wins over a portable folder", "mine", "/x", "/y", "/h", true, "mine/", ""},
      {"a folder holding Oxlip.ini", "", "", "", "home", true, "", ""},
      {"XDG folders", "", "xdg/data", "xdg/cache", "home", false, "xdg/data/oxlip/",
       "xdg/cache/oxlip/"},
      {"relative XDG values count as unset", "", "rel", "rel", "home", false,
       "home/.local/share/oxlip/", "home/.cache/oxlip/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto absolute = [&](const std::string& path) {
      return path.empty() || path[0] == '/' || path == "rel" ? path : dir() + path;
    };
    test::ScopedEnvironment data("XDG_DATA_HOME", absolute(c.xdg_data));
    test::ScopedEnvironment cache("XDG_CACHE_HOME", absolute(c.xdg_cache));
    test::ScopedEnvironment home("HOME", absolute(c.home));
    if (c.portable) test::WriteFile(dir() + "Oxlip.ini", "");
    std::string error;
    std::optional<DataFolder> place = ChooseDataFolder(c.chosen, &error);
    platform::DeleteFile(dir() + "Oxlip.ini");
    ASSERT_TRUE(place) << error;
    EXPECT_EQ(place->folder, dir() + c.folder);
    EXPECT_EQ(place->cache, c.cache.empty() ? "" : dir() + c.cache);
  }
  test::ScopedEnvironment data("XDG_DATA_HOME", "");
  test::ScopedEnvironment home("HOME", "");
  std::string error;
  EXPECT_FALSE(ChooseDataFolder("", &error));
  EXPECT_NE(error.find("--data"), std::string::npos);
}

TEST_F(DataFolderTest, EnteringMakesTheFoldersAndTheSettingsFollow) {
  DataFolder place{dir() + "home/.local/share/oxlip/", dir() + "home/.cache/oxlip/"};
  std::string error;
  ASSERT_TRUE(EnterDataFolder(place, &error)) << error;
  base::GlobalSettings settings;
  base::LoadGlobalSettings(settings, place.cache);
  EXPECT_EQ(settings.StartFolder, place.folder);
  EXPECT_EQ(settings.InstancesDir, place.folder + "Instances/");
  EXPECT_EQ(settings.CacheDir, place.cache);
  EXPECT_TRUE(platform::IsFolder(place.cache));
  base::SaveGlobalSettings(settings);
  EXPECT_TRUE(platform::IsFile(place.folder + "Oxlip.ini"));

  test::WriteFile(dir() + "file", "");
  EXPECT_FALSE(EnterDataFolder(DataFolder{dir() + "file/sub/", ""}, &error));
  EXPECT_NE(error.find("file/sub"), std::string::npos);
}

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
  std::string text = test::ReadFile(dir() + "Oxlip.ini"), keys;
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
  test::WriteFile(dir() + "Oxlip.ini",
                  "ModDir = " + dir() + "mymods\r\nCacheDir = \r\nWinW = wide\r\n" +
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
}  // namespace oxlip::base

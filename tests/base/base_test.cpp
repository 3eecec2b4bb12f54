// Paths and folders: made, named and cleared; which folder a run keeps its files in, and the
// settings that follow from it.
#include <gtest/gtest.h>

#include <thread>

#include "base/create_path.h"
#include "base/data_folder.h"
#include "base/error_text.h"
#include "base/folder_name.h"
#include "base/listed_paths.h"
#include "base/newest_file_date.h"
#include "base/settings.h"
#include "platform/fs.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using test::WriteFile;

class PathsTest : public test::InTempFolder {};

TEST_F(PathsTest, CreatePathMakesEveryFolderBeforeASeparator) {
  std::string given = dir() + "a/b\\\\patch\\";
  std::string copy = given;
  CreatePath(given);
  EXPECT_EQ(given, copy);
  EXPECT_TRUE(platform::IsFolder(dir() + "a/b/patch"));
  CreatePath(dir() + "c\\d\\file.txt");
  EXPECT_TRUE(platform::IsFolder(dir() + "c/d"));
  EXPECT_FALSE(platform::Exists(dir() + "c/d/file.txt"));
}

TEST_F(PathsTest, MakeFolderNameReplacesCharactersAndAvoidsExistingFolders) {
  std::string first = MakeFolderName("My World 1.2", dir());
  ASSERT_NE(first.find(" - "), std::string::npos);
  EXPECT_EQ(first.substr(first.find(" - ")), " - My_World_1.2");
  std::string hex = first.substr(0, first.find(" - "));
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_NE(hex[0], '0');

  std::string odd = MakeFolderName("a:\xC3\xBC", dir());
  EXPECT_EQ(odd.substr(odd.find(" - ")), " - a___");
  std::string empty = MakeFolderName("", dir());
  EXPECT_EQ(empty.substr(empty.size() - 3), " - ");

  ASSERT_TRUE(platform::CreateFolder(dir() + first));
  std::string second = MakeFolderName("My World 1.2", dir());
  EXPECT_NE(second, first);
  EXPECT_FALSE(platform::Exists(dir() + second));
}

TEST_F(PathsTest, RemoveListedPathsKeepsUnrecordedFilesAndStaysInsideBase) {
  std::string base = dir() + "inst/";
  WriteFile(base + "config/a.cfg", "a");
  WriteFile(base + "config/mine.cfg", "kept");
  WriteFile(base + "mods/b.zip", "b");
  WriteFile(base + "deep/c.txt", "c");
  // A file is a file whatever its date: one of 1970 or earlier keeps its folder too.
  WriteFile(base + "old/1970.txt", "kept");
  ASSERT_TRUE(platform::SetFileDate(base + "old/1970.txt", 0));
  WriteFile(dir() + "outside.txt", "x");
  // clang-format off
  std::map<std::string, int> listed = {{"config\\", 0}, {"config\\a.cfg", 0}, {"mods\\", 0},
      {"mods\\b.zip", 0}, {"deep\\c.txt", 5}, {"..\\outside.txt", 0}, {dir() + "outside.txt", 0},
      {"old\\", 0}};
  // clang-format on
  RemoveListedPaths(base, listed, 1);
  // deep/c.txt is above the level limit.
  for (const char* kept : {"config/mine.cfg", "old/1970.txt", "deep/c.txt", "../outside.txt"})
    EXPECT_TRUE(platform::Exists(base + kept)) << kept;
  for (const char* gone : {"config/a.cfg", "mods"}) EXPECT_FALSE(platform::Exists(base + gone));
}

TEST_F(PathsTest, NewestFileDateLooksThroughTheWholeTree) {
  EXPECT_EQ(NewestFileDate(dir() + "missing/"), 0);
  WriteFile(dir() + "t/a.txt", "a");
  WriteFile(dir() + "t/sub/b.txt", "b");
  ASSERT_TRUE(platform::SetFileDate(dir() + "t/a.txt", 1000000));
  ASSERT_TRUE(platform::SetFileDate(dir() + "t/sub/b.txt", 2000000));
  EXPECT_EQ(NewestFileDate(dir() + "t\\"), 2000000);
}

TEST(ErrorText, WorkerTextIsSeenAfterJoin) {
  std::thread worker([] { SetErrorText("from worker"); });
  worker.join();
  EXPECT_EQ(base::LastErrorText(), "from worker");
}

}  // namespace
}  // namespace oxlip

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

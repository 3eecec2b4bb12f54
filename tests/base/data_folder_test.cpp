// Which folder a run keeps its files in, and the settings' defaults that follow from it.
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

}  // namespace
}  // namespace oxlip::base

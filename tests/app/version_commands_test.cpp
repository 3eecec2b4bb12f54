// The version list's commands against the fixture mirror and a real store.
#include <gtest/gtest.h>

#include "app/command_registry.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "base/error_text.h"
#include "platform/env.h"
#include "platform/fs.h"
#include "support/app_world.h"
#include "support/downgrade_fixture.h"
#include "support/fixture_paths.h"
#include "support/jar_files.h"
#include "support/scoped_environment.h"
#include "versions/version_index.h"
#include "versions/version_store.h"

namespace oxlip {
namespace {

class VersionCommands : public test::AppWorld {
 protected:
  VersionCommands() { app::RegisterCommands(state.commands); }
  int Run(int id, int row = -1) {
    state.selection.row = row;
    return app::RunMenuCommand(state, ui, id);
  }
  int Drop(const std::string& names) {
    return app::DropFiles(state, ui, app::ListKind::kVersions, names);
  }
  std::string Fixture(const std::string& relative) { return test::FixtureRoot() + relative; }
  std::vector<std::string> StoredVersions() {
    std::vector<std::string> versions;
    for (const VersionEntry& entry : state.versions) versions.push_back(entry.Version);
    return versions;
  }
  test::ScopedEnvironment data_{"XDG_DATA_HOME", dir() + "data"};
};

TEST_F(VersionCommands, DownloadAllBetaStoresEveryBetaByItsVersionNewestFirst) {
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  ASSERT_EQ(Run(app::kCmdDownloadBetas), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"12w08a", "1.1", "1.0", "Beta 1.8.1"}));
  EXPECT_EQ(test::ReadFile(state.settings.VersionsDir + "minecraft - 1.1.jar"),
            test::ReadFile(Fixture("assets/1_1/minecraft.jar")));
  EXPECT_EQ(ui.status_shown[0].title, "Download Betas");
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(ui.lists_changed.back(), app::ListKind::kVersions);
  for (const std::string& name : Listed(state.settings.CacheDir))
    EXPECT_EQ(name.find("downloadbeta"), std::string::npos) << name;

  // A second run finds every name taken: nothing is stored twice, nothing is left behind.
  ASSERT_EQ(Run(app::kCmdDownloadBetas), 1);
  EXPECT_EQ(StoredVersions().size(), 4u);
  for (const std::string& name : Listed(state.settings.CacheDir))
    EXPECT_EQ(name.find("downloadbeta"), std::string::npos) << name;
}

TEST_F(VersionCommands, DownloadAllBetaAsksForItsListingBehindTheWindowAndStopsWithoutOne) {
  state.settings.MCASSETSURL = "http://127.0.0.1:9/assets/";
  EXPECT_EQ(Run(app::kCmdDownloadBetas), 1);
  ASSERT_EQ(ui.status_shown.size(), 1u);
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_FALSE(ui.status_open);
  EXPECT_TRUE(ui.lists_changed.empty());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VersionCommands, ADroppedJarIsStoredByItsVersion) {
  test::WriteFile(dir() + "in/Game.JAR", test::ReadFile(Fixture("assets/1_0/minecraft.jar")));
  ASSERT_EQ(Drop(dir() + "in/Game.JAR"), 1);
  EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.0"});
  // The jar is read and copied behind the status window, which names it.
  ASSERT_EQ(ui.status_shown.size(), 1u);
  EXPECT_EQ(ui.status_shown[0].text, dir() + "in/Game.JAR");
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(versions::ParseVersionIndex(
                test::ReadFile(state.settings.VersionsDir + "ver.ini"))["minecraft - 1.0.jar"]
                .first,
            "1.0");
  // The same version again replaces the stored jar.
  ASSERT_EQ(Drop(dir() + "in/Game.JAR"), 1);
  EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.0"});
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VersionCommands, ADroppedFileThatIsNoJarOrCannotBeStoredIsReported) {
  test::WriteFile(dir() + "in/mod.zip", "zip");
  EXPECT_EQ(Drop(dir() + "in/mod.zip"), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Oxlip");
  EXPECT_EQ(ui.messages[0].text, "Versions: No Jar file " + dir() + "in/mod.zip");

  test::WriteFile(dir() + "in/x.jar", test::ReadFile(Fixture("assets/1_0/minecraft.jar")));
  state.settings.VersionsDir = dir() + "missing/";
  EXPECT_EQ(Drop(dir() + "in/x.jar"), 0);
  EXPECT_EQ(ui.messages.back().text, "Versions: File already exist: minecraft - 1.0.jar");
}

TEST_F(VersionCommands, DeleteMovesTheRowsJarToTheTrashAndReloadSeesIt) {
  test::WriteFile(dir() + "in/a.jar", test::ReadFile(Fixture("assets/1_0/minecraft.jar")));
  test::WriteFile(dir() + "in/b.jar", test::ReadFile(Fixture("assets/1_1/minecraft.jar")));
  Drop(dir() + "in/a.jar");
  Drop(dir() + "in/b.jar");
  ASSERT_EQ(StoredVersions(), (std::vector<std::string>{"1.1", "1.0"}));
  ASSERT_EQ(Run(app::kCmdDeleteVersion, 1), 1);
  EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.1"});
  EXPECT_TRUE(platform::IsFile(dir() + "data/Trash/files/minecraft - 1.0.jar"));
  EXPECT_TRUE(platform::IsFile(dir() + "data/Trash/info/minecraft - 1.0.jar.trashinfo"));

  test::WriteFile(state.settings.VersionsDir + "hand.jar",
                  test::ReadFile(Fixture("assets/b1_8/MINECRAFT.JAR")));
  ASSERT_EQ(Run(app::kCmdReloadVersions), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"1.1", "Beta 1.8.1"}));
}

TEST_F(VersionCommands, DowngradeFollowsTheChainAndLeavesNoWorkFolder) {
  const std::string cls = "net\\minecraft\\client\\Minecraft.class";
  test::MakeJar(state.settings.VersionsDir + "minecraft - 1.2.jar",
                {{"net/minecraft/client/Minecraft.class", test::MainClassBytes("1.2")}},
                1330000000);
  Run(app::kCmdReloadVersions);
  auto patch = [&](const std::string& from, const std::string& to, const std::string& version,
                   platform::DateValue date) {
    test::WriteFile(state.settings.PatchDir + from + "#" + to + ".patch",
                    test::NewRecord(cls, test::MainClassBytes(version), date));
  };
  patch("minecraft - 1.2", "minecraft - 1.1", "1.1", 1320000000);
  patch("minecraft - 1.1", "minecraft - 1.0", "1.0", 1310000000);
  ASSERT_EQ(Run(app::kCmdDowngrade, 0), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"1.2", "1.1", "1.0"}));
  EXPECT_EQ(ui.status_shown[0].title, "Downgrade");
  EXPECT_FALSE(ui.status_open);
  EXPECT_FALSE(platform::Exists(state.settings.CacheDir + "patch"));
  EXPECT_TRUE(ui.messages.empty());  // the chain's end is no failure
}

}  // namespace
}  // namespace oxlip

// The version list's commands and the start-up look at the servers, against the fixture mirror
// and a real store.
#include <gtest/gtest.h>

#include "app/command_registry.h"
#include "app/empty_list_hint.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/version_check.h"
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
  // Drops a copy of the fixture's jar of `version` named `name`.
  int Drop(const std::string& version, const std::string& name) {
    test::WriteFile(dir() + "in/" + name, test::ReadFile(Fixture(version + "/minecraft.jar")));
    return app::DropFiles(state, ui, app::ListKind::kVersions, dir() + "in/" + name);
  }
  std::string Fixture(const std::string& relative) {
    return test::FixtureRoot() + "assets/" + relative;
  }
  std::vector<std::string> StoredVersions() {
    std::vector<std::string> versions;
    for (const VersionEntry& entry : state.versions) versions.push_back(entry.Version);
    return versions;
  }
  bool CacheHoldsBetaFiles() {
    for (const std::string& name : Listed(state.settings.CacheDir))
      if (name.find("downloadbeta") != std::string::npos) return true;
    return false;
  }
  test::ScopedEnvironment data_{"XDG_DATA_HOME", dir() + "data"};
};

// A second run finds every name taken: nothing is stored twice, nothing is left behind.
TEST_F(VersionCommands, DownloadAllBetaStoresEveryBetaByItsVersionNewestFirst) {
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Run(app::kCmdDownloadBetas), 1);
    EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"12w08a", "1.1", "1.0", "Beta 1.8.1"}));
    EXPECT_FALSE(CacheHoldsBetaFiles());
  }
  EXPECT_EQ(test::ReadFile(state.settings.VersionsDir + "minecraft - 1.1.jar"),
            test::ReadFile(Fixture("1_1/minecraft.jar")));
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(ui.lists_changed.back(), app::ListKind::kVersions);
}

TEST_F(VersionCommands, DownloadAllBetaAsksForItsListingBehindTheWindowAndStopsWithoutOne) {
  state.settings.MCASSETSURL = "http://127.0.0.1:9/assets/";
  EXPECT_EQ(Run(app::kCmdDownloadBetas), 1);
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_FALSE(ui.status_open);
  EXPECT_TRUE(ui.lists_changed.empty());
  EXPECT_TRUE(ui.messages.empty());
}

// The jar is read and copied behind the status window, which names it; the same version again
// replaces the stored jar.
TEST_F(VersionCommands, ADroppedJarIsStoredByItsVersion) {
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Drop("1_0", "Game.JAR"), 1);
    EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.0"});
  }
  EXPECT_EQ(ui.status_shown[0].text, dir() + "in/Game.JAR");
  EXPECT_EQ(ui.behind_status_runs, 2);
  EXPECT_FALSE(ui.status_open);
  auto index = versions::ParseVersionIndex(test::ReadFile(state.settings.VersionsDir + "ver.ini"));
  EXPECT_EQ(index["minecraft - 1.0.jar"].first, "1.0");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VersionCommands, ADroppedFileThatIsNoJarOrCannotBeStoredIsReported) {
  EXPECT_EQ(Drop("1_0", "mod.zip"), 0);
  EXPECT_EQ(ui.messages.back().text, "Versions: No Jar file " + dir() + "in/mod.zip");
  state.settings.VersionsDir = dir() + "missing/";
  EXPECT_EQ(Drop("1_0", "x.jar"), 0);
  EXPECT_EQ(ui.messages.back().text, "Versions: File already exist: minecraft - 1.0.jar");
}

TEST_F(VersionCommands, DeleteMovesTheRowsJarToTheTrashAndReloadSeesIt) {
  Drop("1_0", "a.jar");
  Drop("1_1", "b.jar");
  ASSERT_EQ(StoredVersions(), (std::vector<std::string>{"1.1", "1.0"}));
  ASSERT_EQ(Run(app::kCmdDeleteVersion, 1), 1);
  EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.1"});
  EXPECT_TRUE(platform::IsFile(dir() + "data/Trash/files/minecraft - 1.0.jar"));
  test::WriteFile(state.settings.VersionsDir + "hand.jar",
                  test::ReadFile(Fixture("b1_8/MINECRAFT.JAR")));
  ASSERT_EQ(Run(app::kCmdReloadVersions), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"1.1", "Beta 1.8.1"}));
}

TEST_F(VersionCommands, DowngradeFollowsTheChainAndLeavesNoWorkFolder) {
  const std::string cls = "net\\minecraft\\client\\Minecraft.class";
  test::MakeJar(state.settings.VersionsDir + "minecraft - 1.2.jar",
                {{"net/minecraft/client/Minecraft.class", test::MainClassBytes("1.2")}},
                1330000000);
  Run(app::kCmdReloadVersions);
  for (auto [from, to, date] : {std::tuple{"1.2", "1.1", 1320000000}, {"1.1", "1.0", 1310000000}})
    test::WriteFile(
        state.settings.PatchDir + "minecraft - " + from + "#minecraft - " + to + ".patch",
        test::NewRecord(cls, test::MainClassBytes(to), date));
  ASSERT_EQ(Run(app::kCmdDowngrade, 0), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"1.2", "1.1", "1.0"}));
  EXPECT_FALSE(ui.status_open);
  EXPECT_FALSE(platform::Exists(state.settings.CacheDir + "patch"));
  EXPECT_TRUE(ui.messages.empty());  // the chain's end is no failure
}

class VersionCheck : public VersionCommands {
 protected:
  void Check(app::AppState& checked) {
    app::FindReleaseDates(checked, ui);
    app::AddCurrentVersion(checked, ui);
  }
};

// The next start begins with what the first stored and finds the same date.
TEST_F(VersionCheck, AFirstStartStoresTheReleaseAndTheNextDownloadsNothing) {
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  Check(state);
  EXPECT_EQ(state.dates.remote_release, test::kFixtureReleaseTime);
  EXPECT_EQ(state.dates.newest_beta, test::kFixtureNewestBetaTime);
  EXPECT_EQ(test::ReadFile(state.settings.VersionsDir + "minecraft - " +
                           test::kFixtureReleaseVersion + ".jar"),
            test::ReadFile(test::FixtureRoot() + "download/minecraft.jar"));
  EXPECT_FALSE(platform::Exists(state.settings.CacheDir + "currentversion.jar"));
  EXPECT_EQ(state.settings.LatestVersion, test::kFixtureReleaseTime);
  EXPECT_EQ(state.settings.LatestVersionNr, test::kFixtureReleaseVersion);
  EXPECT_EQ(ui.status_shown.size(), 2u);
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(app::EmptyListHint(state, app::ListKind::kVersions), "");
  app::AppState next;
  next.settings = state.settings;
  Check(next);
  EXPECT_EQ(CountRequests("/download/minecraft.jar"), 1);
  ScanVersions(next.settings, next.versions);
  EXPECT_EQ(next.versions.size(), 1u);
}

// The stored date differs from 0, so adding is tried, fails quietly and changes nothing. Only
// the empty version list tells, naming the host and the file that changes it.
TEST_F(VersionCheck, WithTheServersDownNothingIsShownAndTheDatesStayZero) {
  state.settings.MCURL = "http://127.0.0.1:9/download/";
  state.settings.MCASSETSURL = "http://127.0.0.1:9/assets/";
  state.settings.LatestVersion = 1300000000;
  state.settings.LatestVersionNr = "1.2.5";
  Check(state);
  EXPECT_EQ(state.dates.remote_release + state.dates.newest_beta, 0);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.status_shown.size(), 2u);
  EXPECT_EQ(state.settings.LatestVersion, 1300000000);
  EXPECT_EQ(state.settings.LatestVersionNr, "1.2.5");
  EXPECT_TRUE(Listed(state.settings.VersionsDir).empty());
  std::string hint = app::EmptyListHint(state, app::ListKind::kVersions);
  EXPECT_NE(hint.find(" 127.0.0.1:9 "), std::string::npos) << hint;
  EXPECT_NE(hint.find(state.settings.StartFolder + "Oxlip.ini"), std::string::npos) << hint;
}

}  // namespace
}  // namespace oxlip

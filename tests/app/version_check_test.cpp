// The start-up look at the servers: the dates, and the current release added to the store.
#include "app/version_check.h"

#include <gtest/gtest.h>

#include "app/empty_list_hint.h"
#include "platform/fs.h"
#include "support/app_world.h"
#include "support/fixture_paths.h"
#include "versions/version_store.h"

namespace oxlip {
namespace {

class VersionCheck : public test::AppWorld {
 protected:
  void Check() {
    app::FindReleaseDates(state, ui);
    app::AddCurrentVersion(state, ui);
  }
  std::string StoredRelease() {
    return state.settings.VersionsDir + "minecraft - " + test::kFixtureReleaseVersion + ".jar";
  }
};

TEST_F(VersionCheck, AFirstStartStoresTheReleaseAndTheNextDownloadsNothing) {
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  Check();
  EXPECT_EQ(state.dates.remote_release, test::kFixtureReleaseTime);
  EXPECT_EQ(state.dates.newest_beta, test::kFixtureNewestBetaTime);
  EXPECT_EQ(test::ReadFile(StoredRelease()),
            test::ReadFile(test::FixtureRoot() + "download/minecraft.jar"));
  EXPECT_FALSE(platform::Exists(state.settings.CacheDir + "currentversion.jar"));
  EXPECT_EQ(state.settings.LatestVersion, test::kFixtureReleaseTime);
  EXPECT_EQ(state.settings.LatestVersionNr, test::kFixtureReleaseVersion);
  ASSERT_EQ(ui.status_shown.size(), 2u);
  EXPECT_EQ(ui.status_shown[0].title, "Search for current minecraft version");
  EXPECT_EQ(ui.status_shown[1].title, "Add current Version to Minecraft Version");
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(CountRequests("/download/minecraft.jar"), 1);
  EXPECT_EQ(app::EmptyListHint(state, app::ListKind::kVersions), "");

  // The next start begins with what this one stored and finds the same date.
  app::AppState next;
  next.settings = state.settings;
  app::FindReleaseDates(next, ui);
  app::AddCurrentVersion(next, ui);
  EXPECT_EQ(CountRequests("/download/minecraft.jar"), 1);
  ScanVersions(next.settings, next.versions);
  ASSERT_EQ(next.versions.size(), 1u);
  EXPECT_EQ(next.versions[0].Version, test::kFixtureReleaseVersion);
}

TEST_F(VersionCheck, WithTheServersDownNothingIsShownAndTheDatesStayZero) {
  state.settings.MCURL = "http://127.0.0.1:9/download/";
  state.settings.MCASSETSURL = "http://127.0.0.1:9/assets/";
  state.settings.LatestVersion = 1300000000;
  state.settings.LatestVersionNr = "1.2.5";
  Check();
  EXPECT_EQ(state.dates.remote_release, 0);
  EXPECT_EQ(state.dates.newest_beta, 0);
  EXPECT_TRUE(ui.messages.empty());
  // The stored date differs from 0, so adding is tried, fails quietly and changes nothing.
  EXPECT_EQ(ui.status_shown.size(), 2u);
  EXPECT_EQ(state.settings.LatestVersion, 1300000000);
  EXPECT_EQ(state.settings.LatestVersionNr, "1.2.5");
  EXPECT_TRUE(Listed(state.settings.VersionsDir).empty());
  EXPECT_FALSE(ui.status_open);
  // Only the empty version list tells, naming the host and the file that changes it.
  std::string hint = app::EmptyListHint(state, app::ListKind::kVersions);
  EXPECT_NE(hint.find(" 127.0.0.1:9 "), std::string::npos) << hint;
  EXPECT_NE(hint.find(state.settings.StartFolder + "Oxlip.ini"), std::string::npos) << hint;
}

}  // namespace
}  // namespace oxlip

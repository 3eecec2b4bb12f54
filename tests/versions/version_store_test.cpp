#include "versions/version_store.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/jar_files.h"
#include "support/temp_folder.h"
#include "versions/version_index.h"

namespace oxlip {
namespace {

using test::ReadFile;
using test::WriteFile;

class VersionStoreTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.VersionsDir = dir() + "mcversions/";
    settings.CacheDir = dir() + "Cache/";
    platform::CreateFolder(settings.VersionsDir);
    platform::CreateFolder(settings.CacheDir);
  }
  // A jar whose main class names `version`, dated `date`.
  void MakeJar(const std::string& name, const std::string& version, platform::DateValue date) {
    test::MakeJar(settings.VersionsDir + name,
                  {{"net/minecraft/client/Minecraft.class", test::MainClassBytes(version)}}, date);
  }
  base::GlobalSettings settings;
  versions::VersionList versions;
};

TEST_F(VersionStoreTest, ScanReadsNewJarsSortsNewestFirstAndIndexes) {
  MakeJar("minecraft - 1.2.5.jar", "1.2.5", 1300000000);
  MakeJar("minecraft - 1.0.0.jar", "1.0.0", 1320000000);
  WriteFile(settings.VersionsDir + "broken.jar", "not a zip");
  platform::SetFileDate(settings.VersionsDir + "broken.jar", 1000);
  ASSERT_EQ(ScanVersions(settings, versions), 1);
  ASSERT_EQ(versions.size(), 3u);
  EXPECT_EQ(versions[0].Version, "1.0.0");
  EXPECT_EQ(versions[0].Date, 1320000000);
  EXPECT_EQ(versions[1].Version, "1.2.5");
  EXPECT_EQ(versions[2].Version, "[unknown]");
  EXPECT_EQ(versions[2].Date, 1000);
  EXPECT_FALSE(platform::Exists(settings.CacheDir + "Minecraft.class"));
  versions::VersionIndex index =
      versions::ParseVersionIndex(ReadFile(settings.VersionsDir + "ver.ini"));
  EXPECT_EQ(index.size(), 3u);
  EXPECT_EQ(index["minecraft - 1.2.5.jar"].first, "1.2.5");
}

TEST_F(VersionStoreTest, NothingNewLeavesTheIndexUntouched) {
  std::string stale = versions::VersionRecordBytes("gone.jar", "0.9", 5) +
                      versions::VersionRecordBytes("a.jar", "1.1", 7);
  WriteFile(settings.VersionsDir + "ver.ini", stale);
  WriteFile(settings.VersionsDir + "a.jar", "unread");
  ScanVersions(settings, versions);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0].Version, "1.1");
  EXPECT_EQ(ReadFile(settings.VersionsDir + "ver.ini"), stale);
}

TEST_F(VersionStoreTest, AnUnknownJarIsReadAgainOnceReplacedUnderItsName) {
  WriteFile(settings.VersionsDir + "custom.jar", "not a zip");
  ScanVersions(settings, versions);
  ASSERT_EQ(versions[0].Version, "[unknown]");
  platform::DeleteFile(settings.VersionsDir + "custom.jar");
  MakeJar("custom.jar", "1.3.2", 1330000000);
  ScanVersions(settings, versions);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0].Version, "1.3.2");
  EXPECT_EQ(
      versions::ParseVersionIndex(ReadFile(settings.VersionsDir + "ver.ini"))["custom.jar"].first,
      "1.3.2");
}

TEST_F(VersionStoreTest, AScanWithoutAnIndexMakesOne) {
  ScanVersions(settings, versions);
  EXPECT_TRUE(versions.empty());
  EXPECT_TRUE(platform::IsFile(settings.VersionsDir + "ver.ini"));
  AddVersionRecord(settings, "b.jar", 9, "1.0");
  AddVersionRecord(settings, "c.jar", 10, "1.1");
  EXPECT_EQ(ReadFile(settings.VersionsDir + "ver.ini"),
            versions::VersionRecordBytes("b.jar", "1.0", 9) +
                versions::VersionRecordBytes("c.jar", "1.1", 10));
}

}  // namespace
}  // namespace oxlip

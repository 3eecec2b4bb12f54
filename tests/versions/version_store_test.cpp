// The version store: its jars, their names, the index "ver.ini" and the version text of a jar.
#include "versions/version_store.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/jar_files.h"
#include "support/temp_folder.h"
#include "versions/class_version.h"
#include "versions/store_jar_name.h"
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
  versions::VersionIndex Index() {
    return versions::ParseVersionIndex(ReadFile(settings.VersionsDir + "ver.ini"));
  }
  base::GlobalSettings settings;
  versions::VersionList versions;
};

// An unknown jar is read again once replaced under its name.
TEST_F(VersionStoreTest, ScanReadsNewJarsSortsNewestFirstAndIndexes) {
  MakeJar("minecraft - 1.2.5.jar", "1.2.5", 1300000000);
  MakeJar("minecraft - 1.0.0.jar", "1.0.0", 1320000000);
  WriteFile(settings.VersionsDir + "custom.jar", "not a zip");
  platform::SetFileDate(settings.VersionsDir + "custom.jar", 1000);
  ASSERT_EQ(ScanVersions(settings, versions), 1);
  ASSERT_EQ(versions.size(), 3u);
  EXPECT_EQ(versions[0].Version + " " + versions[1].Version + " " + versions[2].Version,
            "1.0.0 1.2.5 [unknown]");
  EXPECT_EQ(versions[0].Date, 1320000000);
  EXPECT_EQ(versions[2].Date, 1000);
  EXPECT_FALSE(platform::Exists(settings.CacheDir + "Minecraft.class"));
  EXPECT_EQ(Index().size(), 3u);
  EXPECT_EQ(Index()["minecraft - 1.2.5.jar"].first, "1.2.5");

  platform::DeleteFile(settings.VersionsDir + "custom.jar");
  MakeJar("custom.jar", "1.3.2", 1330000000);
  ScanVersions(settings, versions);
  EXPECT_EQ(versions[0].Version, "1.3.2");
  EXPECT_EQ(Index()["custom.jar"].first, "1.3.2");
}

TEST_F(VersionStoreTest, TheIndexIsWrittenOnlyWhenSomethingIsNew) {
  ScanVersions(settings, versions);
  EXPECT_TRUE(versions.empty());
  EXPECT_TRUE(platform::IsFile(settings.VersionsDir + "ver.ini"));
  AddVersionRecord(settings, "b.jar", 9, "1.0");
  AddVersionRecord(settings, "c.jar", 10, "1.1");
  EXPECT_EQ(ReadFile(settings.VersionsDir + "ver.ini"),
            versions::VersionRecordBytes("b.jar", "1.0", 9) +
                versions::VersionRecordBytes("c.jar", "1.1", 10));

  std::string stale = versions::VersionRecordBytes("gone.jar", "0.9", 5) +
                      versions::VersionRecordBytes("a.jar", "1.1", 7);
  WriteFile(settings.VersionsDir + "ver.ini", stale);
  WriteFile(settings.VersionsDir + "a.jar", "unread");
  ScanVersions(settings, versions);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0].Version, "1.1");
  EXPECT_EQ(ReadFile(settings.VersionsDir + "ver.ini"), stale);
}

// Later records win; dates that hold line-end bytes must not shift the next record.
TEST(VersionIndex, RecordsRoundTripAndDamagedFilesNeverReadPastTheEnd) {
  std::string bytes = versions::VersionRecordBytes("a.jar", "1.0", 0x0D0A0D0A) +
                      versions::VersionRecordBytes("b.jar", "1.1", -5) +
                      versions::VersionRecordBytes("a.jar", "1.2", 0x0A0A0A0A);
  EXPECT_EQ(bytes.substr(0, 14), std::string("a.jar\r\n1.0\r\n\x0A\x0D", 14));
  versions::VersionIndex index = versions::ParseVersionIndex(bytes);
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(index["a.jar"], std::make_pair(std::string("1.2"), 0x0A0A0A0A));
  EXPECT_EQ(index["b.jar"].second, -5);
  std::string whole = versions::VersionRecordBytes("a.jar", "1.0", 100);
  for (size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_TRUE(versions::ParseVersionIndex(whole.substr(0, cut)).empty()) << cut;
}

// The length byte before the text bounds it.
TEST(ClassVersion, LengthByteBoundsTheText) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("\xCA\x01\x00\x19Minecraft Minecraft 1.4.7xyz", 30), "1.4.7"},
      {std::string("\x01\x00\x14Minecraft Minecraft 1.4", 23), ""},
      {std::string("\x01\x00\x40Minecraft Minecraft 1.2", 26), "1.2"},
      {std::string("\x01\x00\x40Minecraft Minecraft 1\0rest", 29), "1"},
      {"Minecraft Minecraft 1.0", ""},
      {std::string("\x01\xC8Minecraft Minecraft 1.0", 23), ""}};
  for (const auto& [bytes, text] : cases)
    EXPECT_EQ(versions::FindVersionText(bytes), text) << bytes;
}

TEST(StoreJarName, TheVersionGoesInAndComesBackOut) {
  EXPECT_EQ(versions::StoreJarName("1.2.5"), "minecraft - 1.2.5.jar");
  for (const char* version : {"1.2.5", "Beta 1.8.1", "12w08a", "b", ""})
    EXPECT_EQ(versions::StoredVersionName(versions::StoreJarName(version)), version);
  EXPECT_EQ(versions::StoredVersionName("a.jar"), "");
}

TEST_F(VersionStoreTest, SaveVersionWritesMilliseconds) {
  ASSERT_EQ(SaveVersion(dir() + "version", 1358964000), 1);
  EXPECT_EQ(ReadFile(dir() + "version"), std::string("\x00\x0D", 2) + "1358964000000");
  EXPECT_EQ(SaveVersion(dir() + "missing/version", 1), 0);
}

}  // namespace
}  // namespace oxlip

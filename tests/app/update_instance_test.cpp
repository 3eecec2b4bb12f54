// Instance updates from the fixture mirror: a whole game folder, pinned jars, what is skipped.
#include "app/update_instance.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/md5.h"
#include "prefs/pref_file.h"
#include "support/fixture_paths.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;

class InstanceUpdate : public test::ServedBuckets {
 protected:
  void SetUp() override {
    record.Name = "Fresh";
    record.Folder = "fresh";
    dates.remote_release = static_cast<platform::DateValue>(test::kFixtureReleaseTime);
    dates.newest_beta = static_cast<platform::DateValue>(test::kFixtureNewestBetaTime);
    ASSERT_NO_FATAL_FAILURE(StartMirror({}, root));
  }
  int Update(bool force) { return UpdateInstance(context, ui, record, force, dates); }
  std::string Bin() { return settings.InstancesDir + "fresh/.minecraft/bin/"; }
  std::string Fixture(const std::string& relative) { return test::ReadFile(root + relative); }
  // The md5s file lists `name` with its digest.
  bool InMd5s(const std::string& bin, const std::string& name) {
    std::string line = "\r\n" + name + "=" + platform::FileMd5(bin + name) + "\r\n";
    return (test::ReadFile(bin + "md5s") + "\r\n").find(line) != std::string::npos;
  }

  std::string root = test::FixtureRoot();
  Instance record;
  versions::ReleaseDates dates;
  test::ScriptedUi ui;
};

TEST_F(InstanceUpdate, NewBetaInstanceGetsTheWholeGameFolder) {
  record.MineCraftFile = instances::kBetaChannel;
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  ASSERT_EQ(ui.progress_windows.size(), 1u);
  EXPECT_EQ(ui.window_progress.percents.back(), 100);
  std::string game = settings.InstancesDir + "fresh/.minecraft/";
  for (const char* sub : {"saves", "screenshots", "stats", "texturepacks"})
    EXPECT_TRUE(platform::IsFolder(game + sub)) << sub;
  EXPECT_EQ(test::ReadFile(Bin() + "minecraft.jar"),
            Fixture(std::string("assets/") + test::kFixtureNewestBetaKey));
  EXPECT_EQ(platform::FileDate(Bin() + "minecraft.jar"), dates.newest_beta);
  EXPECT_EQ(test::ReadFile(Bin() + "MinecraftLauncher.jar"),
            Fixture("download/launcher/MinecraftLauncher.jar"));
  EXPECT_EQ(test::ReadFile(Bin() + "lwjgl.jar"), Fixture("download/lwjgl.jar"));
  EXPECT_EQ(test::TreeNames(Bin() + "natives"),
            (std::set<std::string>{"libjinput-linux.so", "liblwjgl.so", "liblwjgl64.so",
                                   "libopenal.so"}));
  EXPECT_EQ(test::TreeNames(game + "resources"), test::TreeNames(root + "resources"));
  EXPECT_NE(test::ReadFile(Bin() + "version").find(std::to_string(dates.remote_release) + "000"),
            std::string::npos);
  EXPECT_TRUE(InMd5s(Bin(), "linux_natives.jar"));
  EXPECT_TRUE(InMd5s(Bin(), "minecraft.jar"));
  EXPECT_EQ(record.BetaVersion, dates.newest_beta);
  ASSERT_EQ(OpenPrefFile(settings.InstancesDir + "fresh/settings.ini"), 1);
  EXPECT_EQ(ReadPrefNumber("BetaVersion", -1), dates.newest_beta);
  ClosePrefFile();
}

// Cancel while the mirror holds the transfers back: the update stops and the game folder is as
// before, file by file, without the files that were arriving.
TEST_F(InstanceUpdate, ACancelledUpdateLeavesTheGameFolderAsBefore) {
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  for (const char* name : {"lwjgl.jar", "minecraft.jar"}) {
    platform::DeleteFile(Bin() + name);
    for (const auto& cached : fs::recursive_directory_iterator(settings.CacheDir))
      if (cached.path().filename() == name) fs::remove(cached.path());
    ASSERT_TRUE(mirror_->AddFault(std::string("slow:/download/") + name));
  }
  const test::JarFiles before = test::ReadTree(settings.InstancesDir);
  ui.window_progress.cancel_after_asks = 1;
  bool cancelled = false;
  EXPECT_EQ(UpdateInstance(context, ui, record, true, dates, &cancelled), 0);
  EXPECT_TRUE(cancelled) << base::LastErrorText();
  EXPECT_EQ(test::ReadTree(settings.InstancesDir), before);
}

// A pinned jar comes from the store, the release date still comes along; a store jar that is
// gone is reported, and the rest of the update still happens.
TEST_F(InstanceUpdate, PinnedInstanceKeepsItsJarAndStillGetsTheReleaseDate) {
  test::WriteFile(settings.VersionsDir + "minecraft - 1.1.jar",
                  Fixture("assets/1_1/minecraft.jar"));
  record.MineCraftFile = "minecraft - 1.1.jar";
  ASSERT_EQ(Update(false), 1) << base::LastErrorText();
  EXPECT_EQ(test::ReadFile(Bin() + "minecraft.jar"), Fixture("assets/1_1/minecraft.jar"));
  EXPECT_EQ(CountRequests("/download/minecraft.jar"), 0);
  EXPECT_EQ(record.BetaVersion, dates.remote_release);

  record.MineCraftFile = "minecraft - 0.9.jar";
  platform::DeleteTree(Bin() + "natives");
  EXPECT_EQ(Update(false), 1);
  EXPECT_EQ(base::LastErrorText(),
            "DownloadMinecraft: Can't copy minecraft - 0.9.jar: " + platform::ReasonText(ENOENT));
  EXPECT_TRUE(platform::IsFile(Bin() + "natives/liblwjgl.so"));
}

TEST_F(InstanceUpdate, FolderValuesRelativeToTheStartFolderWork) {
  settings.InstancesDir = "Instances\\";
  settings.CacheDir = "Cache\\";
  ASSERT_EQ(Update(false), 1) << base::LastErrorText();
  std::string bin = dir() + "Instances/fresh/.minecraft/bin/";
  EXPECT_TRUE(platform::IsFile(bin + "version"));
  EXPECT_TRUE(InMd5s(bin, "minecraft.jar"));
  EXPECT_TRUE(platform::IsFile(bin + "natives/liblwjgl.so"));
}

// Without force the present natives jar keeps the damaged archive from being fetched; the jar
// is still unpacked, and the version and md5s files written.
TEST_F(InstanceUpdate, DamagedNativesAreReportedAndTheStartFolderComesBack) {
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  test::WriteFile(Bin() + "linux_natives.jar.lzma", "not lzma");
  platform::DeleteTree(Bin() + "natives");
  EXPECT_EQ(Update(false), 0);
  EXPECT_TRUE(base::LastErrorText().starts_with("DownloadMinecraft: Can't unzip natives.lzma: "))
      << base::LastErrorText();
  EXPECT_EQ(platform::CurrentFolder(), dir());
  EXPECT_TRUE(platform::IsFile(Bin() + "natives/liblwjgl.so"));
  EXPECT_TRUE(platform::IsFile(Bin() + "md5s"));
}

class InstanceUpdateOwnRoot : public InstanceUpdate {
 protected:
  void SetUp() override {
    root = dir() + "served/";
    fs::copy(test::FixtureRoot(), root, fs::copy_options::recursive);
    InstanceUpdate::SetUp();
  }
};

// The bucket gets other natives; only a forced update looks at them.
TEST_F(InstanceUpdateOwnRoot, WithoutForceAPresentNativesJarIsNotFetchedAgain) {
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  fs::copy_file(root + "download/windows_natives.jar.lzma",
                root + "download/linux_natives.jar.lzma", fs::copy_options::overwrite_existing);
  // Same size as before: only a time of another second tells the mirror its digest is stale.
  platform::SetFileDate(root + "download/linux_natives.jar.lzma", platform::NowDateValue() - 7200);
  platform::SetFileDate(settings.CacheDir + "download-index.xml", platform::NowDateValue() - 3601);
  platform::DeleteFile(Bin() + "lwjgl.jar");
  ASSERT_EQ(Update(false), 1) << base::LastErrorText();
  EXPECT_EQ(CountRequests("/download/linux_natives.jar.lzma"), 1);
  EXPECT_EQ(CountRequests("/download/lwjgl.jar"), 1);  // put back from the cache
  EXPECT_EQ(test::ReadFile(Bin() + "lwjgl.jar"), Fixture("download/lwjgl.jar"));
  EXPECT_FALSE(platform::Exists(Bin() + "natives/lwjgl.dll"));
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  EXPECT_EQ(CountRequests("/download/linux_natives.jar.lzma"), 2);
  EXPECT_TRUE(platform::IsFile(Bin() + "natives/lwjgl.dll"));
}

}  // namespace
}  // namespace oxlip

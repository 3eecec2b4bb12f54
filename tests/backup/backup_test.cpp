// Backups of a real instance tree, checked with the 7-Zip program.
#include "backup/backup.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/error_text.h"
#include "instance_tree.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "support/mod_fixtures.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"
#include "support/temp_folder.h"
#include "support/write_limit.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

bool SevenZipTests(const std::string& archive) {
  return test::RunSevenZipProgram(".", "t '" + archive + "'") == 0;
}

std::vector<std::string> Archives(const std::string& folder) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.path().extension() == ".7z") out.push_back(entry.path().string());
  return out;
}

class BackupTest : public test::InstanceTree {
 protected:
  void SetUp() override {
    if (!test::HaveSevenZipProgram()) GTEST_SKIP() << "7zz is missing";
  }
  // The world's record says it was archived as of `date`.
  bool Stamped(const std::string& world, platform::DateValue date) {
    std::string text = ReadFile(Instance("backup/" + world + "/lastupdate.ini"));
    return text == "LastUpdate = " + std::to_string(date) + "\r\n";
  }
};

// Folder values may be relative to the start folder; inside the instance they would miss.
TEST_F(BackupTest, InstanceBackupHoldsEverythingButTheBackupsAndOpensInSevenZip) {
  settings_.InstancesDir = "Instances/";
  WriteFile(Instance("backup/old.7z"), "an older backup");
  // The game's log is written to whenever the game runs: never part of a backup.
  WriteFile(Instance("game.log"), "log");
  WriteFile(Instance("game.log.1"), "the run before");
  platform::DateValue before = platform::NowDateValue();
  ASSERT_EQ(MineCraftBackup(settings_, record_), 1);
  EXPECT_EQ(platform::CurrentFolder(), dir());
  std::vector<std::string> made = Archives(Instance("backup"));
  std::erase_if(made, [](const std::string& path) { return path.ends_with("old.7z"); });
  ASSERT_EQ(made.size(), 1u);
  // "<date> - <folder>.7z" with the date of the call.
  std::string name = fs::path(made[0]).filename().string();
  ASSERT_TRUE(name.ends_with(" - inst.7z")) << name;
  platform::DateValue date = std::stoi(name);
  EXPECT_GE(date, before);
  EXPECT_LE(date, platform::NowDateValue());
  EXPECT_TRUE(SevenZipTests(made[0]));
  std::set<std::string> entries = test::ProgramListing(made[0]);
  for (const char* expected :
       {"settings.ini", ".minecraft", ".minecraft/bin/minecraft.jar", ".minecraft/options.txt",
        ".minecraft/saves/World1/region/r.0.0.mcr", ".minecraft/saves/Empty"})
    EXPECT_TRUE(entries.count(expected)) << expected;
  for (const std::string& entry : entries)
    EXPECT_FALSE(entry.starts_with("backup") || entry.starts_with("game.log")) << entry;
}

// Without a saves folder world backups have nothing to do, and that is success.
TEST_F(BackupTest, InstanceBackupOfAMissingFolderFailsWithoutArchivingTheCurrentFolder) {
  fs::remove_all(Instance(".minecraft/saves"));
  EXPECT_EQ(SaveBackup(settings_, record_), 1);
  EXPECT_FALSE(fs::exists(Instance("backup")));
  record_.Folder = "gone";
  SetErrorText("");
  EXPECT_EQ(MineCraftBackup(settings_, record_), 0);
  EXPECT_EQ(base::LastErrorText(), "MineCraftBackup: Can't backup.");
  EXPECT_EQ(platform::CurrentFolder(), dir());
  EXPECT_FALSE(fs::exists(dir() + "backup"));
}

// What a person reads ends with the system's reason: an instance whose "backup" is a file,
// and a world whose backups land on a full disk.
TEST_F(BackupTest, AFailedArchiveSaysWhy) {
  auto expect_reason = [](const std::string& text, const std::string& start, int code) {
    EXPECT_TRUE(text.starts_with(start + " ")) << text;
    EXPECT_TRUE(text.ends_with(": " + platform::ReasonText(code))) << text;
  };
  WriteFile(Instance("backup"), "a file");
  SetErrorText("");
  EXPECT_EQ(MineCraftBackup(settings_, record_), 0);
  expect_reason(base::LastErrorText(), "MineCraftBackup: Can't backup.", ENOTDIR);

  fs::remove(Instance("backup"));
  fs::create_directories(Instance("backup"));
  // More than the full disk holds, even packed.
  WriteFile(Instance(World("region.mca")), test::FileBytes("noise", 256 * 1024));
  bool skipped = false;
  std::optional<std::string> text = test::InChildWithFault(
      test::DiskFault::kFull, Instance("backup"),
      [&] { return SaveBackup(settings_, record_) == 0 ? base::LastErrorText() : ""; }, &skipped);
  if (skipped) GTEST_SKIP() << "no small file system can be mounted here";
  ASSERT_TRUE(text);
  expect_reason(*text, "SaveBackup: Can't backup World1:", ENOSPC);
}

TEST_F(BackupTest, EachChangedWorldIsArchivedOnceAndAgainOnlyAfterItChanged) {
  settings_.InstancesDir = "Instances/";  // inside a world a relative folder would miss too
  test::RecordingProgress progress;
  ASSERT_EQ(SaveBackup(settings_, record_, &progress), 1);
  EXPECT_EQ(platform::CurrentFolder(), dir());
  EXPECT_EQ(Archives(Instance("backup/World1")).size(), 1u);
  EXPECT_EQ(Archives(Instance("backup/World2")).size(), 1u);
  EXPECT_TRUE(Stamped("World1", 1300000000));
  // A world without files is never archived.
  EXPECT_TRUE(Archives(Instance("backup/Empty")).empty());
  EXPECT_EQ(progress.names, (std::vector<std::string>{"World1", "World2"}));

  std::string archive = Archives(Instance("backup/World1"))[0];
  EXPECT_TRUE(SevenZipTests(archive));
  EXPECT_EQ(test::ProgramListing(archive),
            (std::set<std::string>{"level.dat", "region", "region/r.0.0.mcr"}));

  ASSERT_EQ(SaveBackup(settings_, record_), 1);  // nothing played in between
  EXPECT_EQ(Archives(Instance("backup/World1")).size(), 1u);
  EXPECT_EQ(Archives(Instance("backup/World2")).size(), 1u);

  Write(World("level.dat", "World2"), "two, later", 1300000500);
  ASSERT_EQ(SaveBackup(settings_, record_), 1);
  EXPECT_EQ(Archives(Instance("backup/World1")).size(), 1u);
  EXPECT_TRUE(Stamped("World2", 1300000500));
  // Within the same second the new archive has the old one's name and is added to.
  EXPECT_GE(Archives(Instance("backup/World2")).size(), 1u);
}

TEST_F(BackupTest, AFailedWorldKeepsItsRecordAndTheOthersAreDone) {
  ASSERT_EQ(SaveBackup(settings_, record_), 1);
  Write(World("level.dat"), "one, later", 1300000700);
  Write(World("level.dat", "World2"), "two, later", 1300000800);
  // World1's backup folder cannot take a new archive: it is read-only, and since that does
  // not bind root, the names the next archives would get are taken by folders.
  std::string blocked = Instance("backup/World1/");
  for (const std::string& archive : Archives(blocked)) fs::remove(archive);
  platform::DateValue now = platform::NowDateValue();
  for (platform::DateValue date = now - 5; date < now + 600; ++date)
    fs::create_directories(blocked + std::to_string(date) + ".7z/x");
  fs::permissions(blocked, fs::perms::owner_read | fs::perms::owner_exec);

  SetErrorText("");
  EXPECT_EQ(SaveBackup(settings_, record_), 0);
  // The archiver's reason follows, naming what it could not write.
  EXPECT_TRUE(base::LastErrorText().starts_with("SaveBackup: Can't backup World1: "))
      << base::LastErrorText();
  EXPECT_NE(base::LastErrorText().find(blocked), std::string::npos) << base::LastErrorText();
  EXPECT_TRUE(Stamped("World1", 1300000000));
  EXPECT_TRUE(Stamped("World2", 1300000800));
  EXPECT_EQ(Archives(Instance("backup/World2")).size() >= 1, true);
  EXPECT_EQ(platform::CurrentFolder(), dir());
}

}  // namespace
}  // namespace oxlip

// Backups of a real instance tree, checked with the 7-Zip program, and their restoring.
#include "backup/backup.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "backup/backup_list.h"
#include "backup/restore_backup.h"
#include "base/error_text.h"
#include "base/settings.h"
#include "instances/instance.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"
#include "support/temp_folder.h"
#include "support/write_limit.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// An instance with a game folder and two worlds (and an empty one).
class InstanceTree : public test::InTempFolder {
 protected:
  InstanceTree() {
    settings_.StartFolder = dir();
    settings_.InstancesDir = dir() + "Instances/";
    record_.Name = "My World";
    record_.Folder = "inst";
    WriteFile(Instance("settings.ini"), "Name = My World\r\n");
    WriteFile(Instance("mods.ini"), "Old mod\r\n");
    Write(".minecraft/bin/minecraft.jar", "jar", 1200000000);
    Write(".minecraft/options.txt", "music:0.5\n", 1200000100);
    Write(World("level.dat"), "one");
    Write(World("region/r.0.0.mcr"), std::string(5000, 'a'));
    Write(".minecraft/saves/World2/level.dat", "two", 1300000300);
    fs::create_directories(Instance(".minecraft/saves/Empty"));
  }

  std::string Instance(const std::string& path = "") const {
    return settings_.InstancesDir + "inst/" + path;
  }
  static std::string World(const std::string& file, const std::string& world = "World1") {
    return ".minecraft/saves/" + world + "/" + file;
  }
  void Write(const std::string& path, const std::string& data,
             platform::DateValue date = 1300000000) {
    WriteFile(Instance(path), data);
    platform::SetFileDate(Instance(path), date);
  }

  base::GlobalSettings settings_;
  oxlip::Instance record_;
};

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

class BackupTest : public InstanceTree {
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

// Every file and folder below `root`: its bytes ("/" for a folder) and its time.
using Tree = std::map<std::string, std::pair<std::string, platform::DateValue>>;
Tree Snapshot(const std::string& root) {
  Tree tree;
  for (const auto& [name, bytes] : test::ReadTree(root))
    tree[name] = {bytes, name.ends_with('/') ? 0 : platform::FileDate(root + "/" + name)};
  return tree;
}

class RestoreBackupTest : public InstanceTree {
 protected:
  std::string Trash(const std::string& path) const { return dir() + "data/Trash/files/" + path; }
  // The one backup of a world, or of the whole instance for "".
  backup::BackupArchive Only(const std::string& world) const {
    backup::BackupArchive found;
    int count = 0;
    for (const backup::BackupArchive& backup :
         backup::ListBackups(Instance().substr(0, Instance().size() - 1)))
      if (backup.world == world) found = backup, ++count;
    EXPECT_EQ(count, 1) << world;
    return found;
  }
  bool Restore(const backup::BackupArchive& backup, std::string* error) {
    test::RecordingProgress progress;
    return backup::RestoreBackup(Instance().substr(0, Instance().size() - 1), backup, progress,
                                 error);
  }

  test::ScopedEnvironment trash_{"XDG_DATA_HOME", dir() + "data"};
};

TEST_F(RestoreBackupTest, AChangedWorldGetsBackItsBytesAndTimesAndTheReplacedOneIsTrashed) {
  ASSERT_EQ(SaveBackup(settings_, record_), 1);
  Tree backed_up = Snapshot(Instance(".minecraft/saves"));
  Write(World("level.dat"), "played since", 1400000000);
  fs::remove(Instance(World("region/r.0.0.mcr")));
  Write(World("new.dat"), "new", 1400000000);

  std::string error;
  ASSERT_TRUE(Restore(Only("World1"), &error)) << error;
  EXPECT_EQ(Snapshot(Instance(".minecraft/saves")), backed_up);
  EXPECT_EQ(ReadFile(Trash("World1/level.dat")), "played since");
  EXPECT_EQ(ReadFile(Trash("World1/new.dat")), "new");
  EXPECT_FALSE(fs::exists(Instance("restore.tmp")));

  // A world deleted since its backup comes back as well.
  fs::remove_all(Instance(".minecraft/saves"));
  ASSERT_TRUE(Restore(Only("World2"), &error)) << error;
  EXPECT_EQ(ReadFile(Instance(".minecraft/saves/World2/level.dat")), "two");
}

TEST_F(RestoreBackupTest, TheWholeInstanceGetsBackItsGameFolderAndModRecordsButKeepsItsSettings) {
  ASSERT_EQ(MineCraftBackup(settings_, record_), 1);
  Tree backed_up = Snapshot(Instance(".minecraft"));
  Write(".minecraft/options.txt", "music:0\n", 1400000000);
  Write(World("level.dat"), "played since", 1400000000);
  WriteFile(Instance("mods.ini"), "New mod\r\n");
  WriteFile(Instance("modinstall.inf"), "mods\\new.class\r\n");  // not in the backup
  WriteFile(Instance("settings.ini"), "Name = Renamed\r\n");

  std::string error;
  ASSERT_TRUE(Restore(Only(""), &error)) << error;
  EXPECT_EQ(Snapshot(Instance(".minecraft")), backed_up);
  EXPECT_EQ(ReadFile(Instance("mods.ini")), "Old mod\r\n");
  EXPECT_FALSE(fs::exists(Instance("modinstall.inf")));
  EXPECT_EQ(ReadFile(Instance("settings.ini")), "Name = Renamed\r\n");
  EXPECT_EQ(ReadFile(Trash(".minecraft/options.txt")), "music:0\n");
  EXPECT_EQ(ReadFile(Trash("mods.ini")), "New mod\r\n");
  EXPECT_EQ(ReadFile(Trash("modinstall.inf")), "mods\\new.class\r\n");
  EXPECT_FALSE(fs::exists(Instance("restore.tmp")));
}

TEST_F(RestoreBackupTest, ATruncatedArchiveRestoresNothingAndSaysSo) {
  ASSERT_EQ(SaveBackup(settings_, record_), 1);
  ASSERT_EQ(MineCraftBackup(settings_, record_), 1);
  Write(World("level.dat"), "played since", 1400000000);
  for (const char* world : {"World1", ""}) {
    SCOPED_TRACE(world);
    backup::BackupArchive backup = Only(world);
    fs::resize_file(platform::NativePath(backup.path),
                    static_cast<std::uintmax_t>(backup.size / 2));
    Tree before = Snapshot(Instance());
    std::string error;
    EXPECT_FALSE(Restore(backup, &error));
    EXPECT_NE(error.find(platform::FileNamePart(backup.path)), std::string::npos) << error;
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_NE(error.find("Nothing was changed"), std::string::npos) << error;
    EXPECT_EQ(Snapshot(Instance()), before);
    EXPECT_FALSE(fs::exists(dir() + "data/Trash/files"));
  }
}

TEST_F(RestoreBackupTest, BackupsAreListedNewestFirstWithTheirSizes) {
  WriteFile(Instance("backup/100 - inst.7z"), "abc");
  WriteFile(Instance("backup/World1/100.7z"), "a");
  WriteFile(Instance("backup/World1/300.7z"), "abcd");
  WriteFile(Instance("backup/Alpha/100.7z"), "ab");
  // Not backups: the world's record, other names, other files.
  WriteFile(Instance("backup/World1/lastupdate.ini"), "LastUpdate = 1\r\n");
  WriteFile(Instance("backup/World1/x.7z"), "");
  WriteFile(Instance("backup/World1/-5.7z"), "");
  WriteFile(Instance("backup/abc - inst.7z"), "");
  WriteFile(Instance("backup/200.7z"), "");
  WriteFile(Instance("backup/notes.txt"), "");
  std::string listed;
  for (const backup::BackupArchive& backup :
       backup::ListBackups(Instance().substr(0, Instance().size() - 1)))
    listed += "[" + backup.world + " " + std::to_string(backup.date) + " " +
              std::to_string(backup.size) + " " + platform::FileNamePart(backup.path) + "]";
  EXPECT_EQ(listed,
            "[World1 300 4 300.7z][ 100 3 100 - inst.7z][Alpha 100 2 100.7z]"
            "[World1 100 1 100.7z]");
}

}  // namespace
}  // namespace oxlip

// Restoring the backups that SaveBackup and MineCraftBackup made, on a real instance tree.
#include "backup/restore_backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "backup/backup.h"
#include "backup/backup_list.h"
#include "instance_tree.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "support/jar_files.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip::backup {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// Every file and folder below `root`: its bytes ("/" for a folder) and its time.
using Tree = std::map<std::string, std::pair<std::string, platform::DateValue>>;
Tree Snapshot(const std::string& root) {
  Tree tree;
  for (const auto& [name, bytes] : test::ReadTree(root))
    tree[name] = {bytes, name.ends_with('/') ? 0 : platform::FileDate(root + "/" + name)};
  return tree;
}

class RestoreBackupTest : public test::InstanceTree {
 protected:
  std::string Trash(const std::string& path) const { return dir() + "data/Trash/files/" + path; }
  // The one backup of a world, or of the whole instance for "".
  BackupArchive Only(const std::string& world) const {
    BackupArchive found;
    int count = 0;
    for (const BackupArchive& backup : ListBackups(Instance().substr(0, Instance().size() - 1)))
      if (backup.world == world) found = backup, ++count;
    EXPECT_EQ(count, 1) << world;
    return found;
  }
  bool Restore(const BackupArchive& backup, std::string* error) {
    test::RecordingProgress progress;
    return RestoreBackup(Instance().substr(0, Instance().size() - 1), backup, progress, error);
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
    BackupArchive backup = Only(world);
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
  for (const BackupArchive& backup : ListBackups(Instance().substr(0, Instance().size() - 1)))
    listed += "[" + backup.world + " " + std::to_string(backup.date) + " " +
              std::to_string(backup.size) + " " + platform::FileNamePart(backup.path) + "]";
  EXPECT_EQ(listed,
            "[World1 300 4 300.7z][ 100 3 100 - inst.7z][Alpha 100 2 100.7z]"
            "[World1 100 1 100.7z]");
}

}  // namespace
}  // namespace oxlip::backup

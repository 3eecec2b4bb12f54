// The desktop trash: what goes where, with which record, and what happens without one.
#include "platform/trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/env.h"
#include "platform/fs.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/write_limit.h"

namespace oxlip {
namespace {

class TrashTest : public test::InTempFolder {
 protected:
  void TearDown() override {
    for (const std::string& path : cleanup_) std::filesystem::remove_all(path);
  }
  std::string Trash() { return dir() + "data/Trash/"; }
  test::ScopedEnvironment data_{"XDG_DATA_HOME", dir() + "data"};
  std::vector<std::string> cleanup_;  // outside the test's folder
};

// A second item of the same name gets a free one.
TEST_F(TrashTest, ItemsGoToTheUsersTrashWithTheirRecords) {
  test::WriteFile(dir() + "Instances/a b%/saves/w/level.dat", "world");
  ASSERT_EQ(platform::MoveToTrash(dir() + "Instances\\a b%\\"), platform::TrashOutcome::kMoved);
  EXPECT_FALSE(platform::Exists(dir() + "Instances/a b%"));
  EXPECT_EQ(test::ReadFile(Trash() + "files/a b%/saves/w/level.dat"), "world");
  std::string info = test::ReadFile(Trash() + "info/a b%.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
  EXPECT_NE(info.find("Path=" + dir() + "Instances/a%20b%25\n"), std::string::npos) << info;
  EXPECT_NE(info.find("\nDeletionDate=2"), std::string::npos) << info;

  test::WriteFile(dir() + "one/x.jar", "first");
  test::WriteFile(dir() + "two/x.jar", "second");
  ASSERT_EQ(platform::MoveToTrash(dir() + "one/x.jar"), platform::TrashOutcome::kMoved);
  ASSERT_EQ(platform::MoveToTrash(dir() + "two/x.jar"), platform::TrashOutcome::kMoved);
  EXPECT_EQ(test::ReadFile(Trash() + "files/x.jar"), "first");
  EXPECT_EQ(test::ReadFile(Trash() + "files/x.jar.2"), "second");
  EXPECT_NE(test::ReadFile(Trash() + "info/x.jar.2.trashinfo").find(dir() + "two/x.jar"),
            std::string::npos);
}

// An "Instances" folder linked to another disk: the item lies on that disk and goes to the trash
// at its top, never into a trash of its own making.
TEST_F(TrashTest, AnItemBehindALinkedFolderGoesToTheTrashOfItsOwnDisk) {
  std::string shm = "/dev/shm/oxlip-trash-" + std::to_string(::getpid()) + "/";
  struct stat a, b;
  if (::mkdir(shm.c_str(), 0700) != 0 || ::stat(shm.c_str(), &a) != 0 ||
      ::stat(dir().c_str(), &b) != 0 || a.st_dev == b.st_dev)
    GTEST_SKIP() << "no second file system at /dev/shm";
  std::string name = "inst-" + std::to_string(::getpid());
  std::string top_trash = "/dev/shm/.Trash-" + std::to_string(::getuid()) + "/";
  cleanup_ = {shm, top_trash + "files/" + name, top_trash + "info/" + name + ".trashinfo"};
  test::WriteFile(shm + "Instances/" + name + "/saves/w/level.dat", "world");
  ASSERT_EQ(::symlink((shm + "Instances").c_str(), (dir() + "Instances").c_str()), 0);
  ASSERT_EQ(platform::MoveToTrash(dir() + "Instances\\" + name), platform::TrashOutcome::kMoved);
  EXPECT_EQ(test::ReadFile(top_trash + "files/" + name + "/saves/w/level.dat"), "world");
  EXPECT_NE(test::ReadFile(top_trash + "info/" + name + ".trashinfo")
                .find("\nPath=" + shm + "Instances/" + name + "\n"),
            std::string::npos);
  EXPECT_FALSE(platform::Exists(shm + "Instances/" + name));
  EXPECT_FALSE(platform::Exists(Trash() + "files/" + name));  // never copied across
}

// Only a process that knows no home folder has no trash at all.
TEST_F(TrashTest, WithoutAHomeThereIsNoTrashAndTheItemIsDeletedOutright) {
  test::ScopedEnvironment no_data("XDG_DATA_HOME", "");
  test::ScopedEnvironment no_home("HOME", "");
  test::WriteFile(dir() + "v/minecraft - 1.2.jar", "jar");
  EXPECT_EQ(platform::MoveToTrash(dir() + "v/minecraft - 1.2.jar"),
            platform::TrashOutcome::kNoTrash);
  EXPECT_TRUE(platform::IsFile(dir() + "v/minecraft - 1.2.jar"));
  EXPECT_TRUE(platform::TrashOrDelete(dir() + "v/minecraft - 1.2.jar"));
  EXPECT_FALSE(platform::Exists(dir() + "v/minecraft - 1.2.jar"));
  EXPECT_FALSE(platform::TrashOrDelete(dir() + "missing"));
}

// A trash that is there but cannot be made, written or cannot take the item never turns the
// deletion into a permanent one. Real failures, as rights do not stop the tests' root.
TEST_F(TrashTest, AFailingTrashLeavesTheItemInPlace) {
  struct {
    const char* in_the_way;  // a file where the trash needs a folder
    std::size_t name_size;   // of the item: its record's name may be too long
    bool full_disk;          // no file can grow
    int reason;              // the errno value the failure reports
  } cases[] = {{"data", 1, false, ENOTDIR},
               {"data/Trash/files", 1, false, ENOTDIR},
               {"", 250, false, ENAMETOOLONG},
               {"", 1, true, EFBIG}};
  for (const auto& c : cases) {
    std::string base = dir() + std::to_string(&c - cases) + "/";
    SCOPED_TRACE(base);
    test::ScopedEnvironment data("XDG_DATA_HOME", base + "data");
    if (*c.in_the_way) test::WriteFile(base + c.in_the_way, "a file");
    std::string item = base + "Instances/" + std::string(c.name_size, 'w');
    test::WriteFile(item + "/saves/w/level.dat", "world");
    auto trash = [&] {
      platform::Error error;
      return std::to_string(platform::TrashOrDelete(item, &error) ? 0 : error.code);
    };
    EXPECT_EQ(c.full_disk ? test::InChildWithWriteLimit(0, trash) : trash(),
              std::to_string(c.reason));
    EXPECT_EQ(test::ReadFile(item + "/saves/w/level.dat"), "world");
    EXPECT_TRUE(platform::ListFolder(base + "data/Trash/info").empty());  // no record left behind
  }
}

}  // namespace
}  // namespace oxlip

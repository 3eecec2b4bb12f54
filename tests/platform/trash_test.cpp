// The desktop trash: what goes where, with which record, and what happens without one.
#include "platform/trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/env.h"
#include "platform/fs.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

class TrashTest : public test::InTempFolder {
 protected:
  std::string Trash() { return dir() + "data/Trash/"; }
  test::ScopedEnvironment data_{"XDG_DATA_HOME", dir() + "data"};
};

TEST_F(TrashTest, AFolderGoesToTheUsersTrashWithItsRecord) {
  test::WriteFile(dir() + "Instances/a b%/saves/w/level.dat", "world");
  ASSERT_EQ(platform::MoveToTrash(dir() + "Instances\\a b%\\"), platform::TrashOutcome::kMoved);
  EXPECT_FALSE(platform::Exists(dir() + "Instances/a b%"));
  EXPECT_EQ(test::ReadFile(Trash() + "files/a b%/saves/w/level.dat"), "world");
  std::string info = test::ReadFile(Trash() + "info/a b%.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
  EXPECT_NE(info.find("Path=" + dir() + "Instances/a%20b%25\n"), std::string::npos) << info;
  EXPECT_NE(info.find("\nDeletionDate=2"), std::string::npos) << info;
}

TEST_F(TrashTest, ASecondItemOfTheSameNameGetsAFreeOne) {
  test::WriteFile(dir() + "one/x.jar", "first");
  test::WriteFile(dir() + "two/x.jar", "second");
  ASSERT_EQ(platform::MoveToTrash(dir() + "one/x.jar"), platform::TrashOutcome::kMoved);
  ASSERT_EQ(platform::MoveToTrash(dir() + "two/x.jar"), platform::TrashOutcome::kMoved);
  EXPECT_EQ(test::ReadFile(Trash() + "files/x.jar"), "first");
  EXPECT_EQ(test::ReadFile(Trash() + "files/x.jar.2"), "second");
  EXPECT_NE(test::ReadFile(Trash() + "info/x.jar.2.trashinfo").find(dir() + "two/x.jar"),
            std::string::npos);
}

TEST_F(TrashTest, AnotherFileSystemUsesItsOwnTrashFolder) {
  std::string shm = "/dev/shm/oxlip-trash-" + std::to_string(::getpid()) + "/";
  struct stat a, b;
  if (::mkdir(shm.c_str(), 0700) != 0 || ::stat(shm.c_str(), &a) != 0 ||
      ::stat(dir().c_str(), &b) != 0 || a.st_dev == b.st_dev)
    GTEST_SKIP() << "no second file system at /dev/shm";
  test::WriteFile(shm + "mod/mod.ini", "Name = m");
  std::string top_trash = "/dev/shm/.Trash-" + std::to_string(::getuid()) + "/";
  ASSERT_EQ(platform::MoveToTrash(shm + "mod"), platform::TrashOutcome::kMoved);
  EXPECT_EQ(test::ReadFile(top_trash + "files/mod/mod.ini"), "Name = m");
  EXPECT_TRUE(platform::IsFile(top_trash + "info/mod.trashinfo"));
  EXPECT_FALSE(platform::Exists(shm + "mod"));
  EXPECT_FALSE(platform::Exists(Trash() + "files/mod"));  // never copied across
  platform::DeleteTree(shm);
  platform::DeleteTree(top_trash + "files/mod");
  platform::DeleteFile(top_trash + "info/mod.trashinfo");
}

TEST_F(TrashTest, WithoutAnyTrashTheItemIsDeletedOutright) {
  test::WriteFile(dir() + "data", "a file where the data folder should be");
  test::WriteFile(dir() + "v/minecraft - 1.2.jar", "jar");
  EXPECT_EQ(platform::MoveToTrash(dir() + "v/minecraft - 1.2.jar"),
            platform::TrashOutcome::kNoTrash);
  EXPECT_TRUE(platform::IsFile(dir() + "v/minecraft - 1.2.jar"));
  EXPECT_TRUE(platform::TrashOrDelete(dir() + "v/minecraft - 1.2.jar"));
  EXPECT_FALSE(platform::Exists(dir() + "v/minecraft - 1.2.jar"));
  EXPECT_FALSE(platform::TrashOrDelete(dir() + "missing"));
}

// A trash that is there but cannot take the item (here: its record's name would be too long)
// must never turn the deletion into a permanent one.
TEST_F(TrashTest, ATrashThatFailsLeavesTheItemInPlace) {
  std::string name(250, 'w');
  test::WriteFile(dir() + "Instances/" + name + "/saves/w/level.dat", "world");
  EXPECT_EQ(platform::MoveToTrash(dir() + "Instances/" + name), platform::TrashOutcome::kFailed);
  EXPECT_FALSE(platform::TrashOrDelete(dir() + "Instances/" + name));
  EXPECT_EQ(test::ReadFile(dir() + "Instances/" + name + "/saves/w/level.dat"), "world");
}

}  // namespace
}  // namespace oxlip

#include "platform/fs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;

class FsTest : public test::InTempFolder {};

TEST_F(FsTest, CreateFolderNeedsParentAndRejectsExisting) {
  EXPECT_TRUE(CreateFolder(dir() + "a\\ "));  // trailing blank and separator ignored
  EXPECT_TRUE(IsFolder(dir() + "a"));
  EXPECT_FALSE(CreateFolder(dir() + "a"));
  EXPECT_FALSE(CreateFolder(dir() + "x/y"));
}

TEST_F(FsTest, RestrictToOwnerTakesOthersRightsAndAddsNone) {
  auto mode = [](const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 01000u;
  };
  WriteFile(dir() + "open.ini", "x");
  ::chmod((dir() + "open.ini").c_str(), 0664);
  EXPECT_TRUE(RestrictToOwner(dir() + "open.ini"));
  EXPECT_EQ(mode(dir() + "open.ini"), 0600u);
  EXPECT_EQ(ReadFile(dir() + "open.ini"), "x");
  WriteFile(dir() + "read-only.ini", "x");
  ::chmod((dir() + "read-only.ini").c_str(), 0444);
  EXPECT_TRUE(RestrictToOwner(dir() + "read-only.ini"));
  EXPECT_EQ(mode(dir() + "read-only.ini"), 0400u);
  EXPECT_TRUE(RestrictToOwner(dir() + "new.ini"));  // made, empty, private
  EXPECT_EQ(mode(dir() + "new.ini"), 0600u);
  EXPECT_FALSE(RestrictToOwner(dir() + "missing/x.ini"));
}

TEST_F(FsTest, SizeKindsAndBothSeparators) {
  WriteFile(dir() + "d/f.txt", "12345");
  EXPECT_EQ(FileSize(dir() + "d\\f.txt"), 5);
  EXPECT_EQ(FileSize(dir() + "d\\"), -2);
  EXPECT_EQ(FileSize(dir() + "nope"), -1);
}

TEST_F(FsTest, RenameRefusesAnExistingTarget) {
  WriteFile(dir() + "a", "a");
  WriteFile(dir() + "b", "b");
  EXPECT_FALSE(RenameFile(dir() + "a", dir() + "b"));
  EXPECT_EQ(ReadFile(dir() + "b"), "b");
  EXPECT_TRUE(RenameFile(dir() + "a", dir() + "c"));
  EXPECT_FALSE(Exists(dir() + "a"));
}

TEST_F(FsTest, CopyFileOverwritesAndFailsCleanly) {
  WriteFile(dir() + "src", "new");
  WriteFile(dir() + "dst", "old");
  EXPECT_TRUE(CopyFile(dir() + "src", dir() + "dst"));
  EXPECT_EQ(ReadFile(dir() + "dst"), "new");
  EXPECT_FALSE(CopyFile(dir() + "missing", dir() + "dst"));
  EXPECT_EQ(ReadFile(dir() + "dst"), "new");
  EXPECT_FALSE(CopyFile(dir() + "src", dir() + "nofolder/dst"));
  ASSERT_EQ(::mkfifo((dir() + "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(CopyFile(dir() + "fifo", dir() + "dst"));  // refused, never waited on
  EXPECT_EQ(ReadFile(dir() + "dst"), "new");
}

TEST_F(FsTest, TreesCopyAndDeleteForced) {
  WriteFile(dir() + "t/a.txt", "a");
  WriteFile(dir() + "t/sub/b.txt", "b");
  CreateFolder(dir() + "t/empty");
  chmod((dir() + "t/sub/b.txt").c_str(), 0444);
  WriteFile(dir() + "u/a.txt", "old");
  EXPECT_TRUE(CopyTree(dir() + "t\\", dir() + "u\\"));
  EXPECT_EQ(ReadFile(dir() + "u/a.txt"), "a");
  EXPECT_EQ(ReadFile(dir() + "u/sub/b.txt"), "b");
  EXPECT_TRUE(IsFolder(dir() + "u/empty"));
  EXPECT_TRUE(CopyTree(dir() + "t\\", dir() + "u\\"));  // read-only target overwritten
  EXPECT_TRUE(DeleteTree(dir() + "t\\"));
  EXPECT_FALSE(Exists(dir() + "t"));
  EXPECT_FALSE(DeleteTree(dir() + "t\\"));
}

// What each entry is, learnt without following a link or opening anything.
TEST_F(FsTest, ListingGivesKindsWithoutFollowingOrOpening) {
  WriteFile(dir() + "l/f", "x");
  CreateFolder(dir() + "l/sub");
  SetFileDate(dir() + "l/f", 1234567);
  ASSERT_EQ(::symlink("..", (dir() + "l/up").c_str()), 0);
  ASSERT_EQ(::symlink("f", (dir() + "l/to-file").c_str()), 0);
  ASSERT_EQ(::symlink("gone", (dir() + "l/broken").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir() + "l/fifo").c_str(), 0600), 0);
  struct Expected {
    const char* name;
    PathKind kind;
    bool names_folder;
    DateValue modified;  // -1: any
  };
  const Expected table[] = {
      {"f", PathKind::kFile, false, 1234567}, {"sub", PathKind::kFolder, true, -1},
      {"up", PathKind::kLink, true, -1},      {"to-file", PathKind::kLink, false, 1234567},
      {"broken", PathKind::kLink, false, 0},  {"fifo", PathKind::kOther, false, -1},
  };
  std::vector<DirEntry> entries = ListFolder(dir() + "l\\");
  EXPECT_EQ(entries.size(), std::size(table));  // no "." or ".."
  for (const Expected& expected : table) {
    SCOPED_TRACE(expected.name);
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const DirEntry& e) { return e.name == expected.name; });
    ASSERT_NE(found, entries.end());
    EXPECT_EQ(found->kind, expected.kind);
    EXPECT_EQ(found->is_folder, expected.kind == PathKind::kFolder);
    EXPECT_EQ(found->names_folder, expected.names_folder);
    if (expected.modified >= 0) {
      EXPECT_EQ(found->modified, expected.modified);
    }
  }
  Error error;
  EXPECT_TRUE(ListFolder(dir() + "l/sub", &error).empty());
  EXPECT_FALSE(error);  // empty, not unlisted
  EXPECT_TRUE(ListFolder(dir() + "l/f", &error).empty());
  EXPECT_EQ(error.Text(), "can't list " + dir() + "l/f: Not a directory");
}

TEST_F(FsTest, ReplaceFileContentsLeavesNoTemporaryBehind) {
  WriteFile(dir() + "f", "old");
  EXPECT_TRUE(ReplaceFileContents(dir() + "f", "new"));
  EXPECT_EQ(ReadFile(dir() + "f"), "new");
  EXPECT_FALSE(ReplaceFileContents(dir() + "nofolder/f", "x"));
  EXPECT_EQ(ListFolder(dir()).size(), 1u);
}

}  // namespace
}  // namespace oxlip::platform

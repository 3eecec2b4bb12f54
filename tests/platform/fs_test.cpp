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

unsigned Mode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 01000u;
}

TEST_F(FsTest, FoldersSizesAndRights) {
  EXPECT_TRUE(CreateFolder(dir() + "a\\ "));  // trailing blank and separator ignored
  EXPECT_TRUE(IsFolder(dir() + "a"));
  EXPECT_FALSE(CreateFolder(dir() + "a"));
  EXPECT_FALSE(CreateFolder(dir() + "x/y"));
  WriteFile(dir() + "a/f.txt", "12345");
  EXPECT_EQ(FileSize(dir() + "a\\f.txt"), 5);
  EXPECT_EQ(FileSize(dir() + "a\\"), -2);
  EXPECT_EQ(FileSize(dir() + "nope"), -1);
  // Others lose their rights, the owner gains none; a missing file is made empty and private.
  for (auto [before, after] : {std::pair{0664u, 0600u}, {0444u, 0400u}, {0u, 0600u}}) {
    std::string path = dir() + std::to_string(before) + ".ini";
    if (before) {
      WriteFile(path, "x");
      ::chmod(path.c_str(), before);
    }
    EXPECT_TRUE(RestrictToOwner(path));
    EXPECT_EQ(Mode(path), after) << before;
    EXPECT_EQ(ReadFile(path), before ? "x" : "");
  }
  EXPECT_FALSE(RestrictToOwner(dir() + "missing/x.ini"));
}

TEST_F(FsTest, CopyFileOverwritesAndFailsCleanly) {
  WriteFile(dir() + "src", "new");
  WriteFile(dir() + "dst", "old");
  EXPECT_TRUE(CopyFile(dir() + "src", dir() + "dst"));
  EXPECT_EQ(ReadFile(dir() + "dst"), "new");
  ASSERT_EQ(::mkfifo((dir() + "fifo").c_str(), 0600), 0);
  for (const char* from : {"missing", "fifo"})  // a FIFO is refused, never waited on
    EXPECT_FALSE(CopyFile(dir() + from, dir() + "dst")) << from;
  EXPECT_EQ(ReadFile(dir() + "dst"), "new");
  EXPECT_FALSE(CopyFile(dir() + "src", dir() + "nofolder/dst"));
  EXPECT_TRUE(RenameFile(dir() + "src", dir() + "moved"));
  EXPECT_EQ(ReadFile(dir() + "moved"), "new");
}

TEST_F(FsTest, TreesCopyOverReadOnlyFilesAndDeleteForced) {
  WriteFile(dir() + "t/sub/b.txt", "b");
  CreateFolder(dir() + "t/empty");
  chmod((dir() + "t/sub/b.txt").c_str(), 0444);
  EXPECT_TRUE(CopyTree(dir() + "t\\", dir() + "u\\"));
  EXPECT_TRUE(IsFolder(dir() + "u/empty"));
  EXPECT_TRUE(CopyTree(dir() + "t\\", dir() + "u\\"));  // read-only target overwritten
  EXPECT_EQ(ReadFile(dir() + "u/sub/b.txt"), "b");
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

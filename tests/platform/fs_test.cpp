// Files and folders made, listed, copied (keeping times and rights, in constant memory, also
// across file systems), moved and deleted.
#include "platform/fs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class FsTest : public test::InTempFolder {
 protected:
  // A folder on a file system other than the test's own (for `name`), or "" when there is none.
  std::string OtherFileSystem(const std::string& name) {
    struct stat here {
    }, shm{};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir().c_str(), &here) != 0 ||
        shm.st_dev == here.st_dev || ::access("/dev/shm", W_OK) != 0)
      return "";
    return "/dev/shm/oxlip-" + name + "-" + std::to_string(::getpid());
  }
};

struct stat Stat(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st;
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
    EXPECT_EQ(Stat(path).st_mode & 0777, after) << before;
    EXPECT_EQ(ReadFile(path), before ? "x" : "");
  }
  EXPECT_FALSE(RestrictToOwner(dir() + "missing/x.ini"));
}

// Copies keep times to the nanosecond and rights, overwrite read-only files, and a failed one
// leaves the target as it was.
TEST_F(FsTest, CopiesKeepTimesAndRightsAndFailCleanly) {
  WriteFile("src/world/region/r.0.0.mca", std::string(100000, 'r'));
  WriteFile("src/mods.ini", "m");
  CreateFolder(dir() + "src/empty");
  ::chmod("src/mods.ini", 0640);
  for (auto [name, nanoseconds] : {std::pair{"src/mods.ini", 0L},
                                   {"src/world", 5L},
                                   {"src/world/region/r.0.0.mca", 123456789L}}) {
    struct timespec times[2] = {{1300000000, nanoseconds}, {1300000000, nanoseconds}};
    ::utimensat(AT_FDCWD, name, times, 0);
  }
  auto same_time = [](const std::string& a, const std::string& b) {
    return Stat(a).st_mtim.tv_sec == Stat(b).st_mtim.tv_sec &&
           Stat(a).st_mtim.tv_nsec == Stat(b).st_mtim.tv_nsec;
  };
  WriteFile("one.ini", "old");
  ASSERT_TRUE(CopyFile(dir() + "src\\mods.ini", dir() + "one.ini"));
  EXPECT_EQ(ReadFile("one.ini"), "m");
  EXPECT_TRUE(same_time("one.ini", "src/mods.ini"));
  EXPECT_EQ(Stat("one.ini").st_mode & 0777, 0640u);
  ASSERT_TRUE(CopyTree(dir() + "src\\", dir() + "clone\\"));
  ::chmod("clone/mods.ini", 0444);
  ASSERT_TRUE(CopyTree(dir() + "src\\", dir() + "clone\\"));
  for (const char* name : {"world/region/r.0.0.mca", "mods.ini", "world"})
    EXPECT_TRUE(same_time("clone/" + std::string(name), "src/" + std::string(name))) << name;
  EXPECT_EQ(ReadFile("clone/world/region/r.0.0.mca"), std::string(100000, 'r'));
  EXPECT_TRUE(IsFolder(dir() + "clone/empty"));

  ASSERT_EQ(::mkfifo((dir() + "fifo").c_str(), 0600), 0);
  for (const char* from : {"missing", "fifo"})  // a FIFO is refused, never waited on
    EXPECT_FALSE(CopyFile(dir() + from, dir() + "one.ini")) << from;
  EXPECT_EQ(ReadFile("one.ini"), "m");
  EXPECT_FALSE(CopyFile(dir() + "one.ini", dir() + "nofolder/one.ini"));
  EXPECT_TRUE(DeleteFile(dir() + "one.ini"));
  EXPECT_FALSE(DeleteFile(dir() + "one.ini"));
  EXPECT_TRUE(DeleteTree(dir() + "clone\\"));
  EXPECT_FALSE(Exists(dir() + "clone"));
  EXPECT_FALSE(DeleteTree(dir() + "clone\\"));
}

// A tree with a folder linked from elsewhere (a "saves" folder on another disk), a link to an
// ancestor, one into the copy's own target, a broken link and a FIFO.
TEST_F(FsTest, LinksAreFollowedOnlyWhenAskedAndNeverInALoop) {
  struct {
    FollowLinks links;
    std::vector<std::string> copied;   // files below the target, with the source's bytes
    std::vector<std::string> skipped;  // as named by the copy
  } cases[] = {
      {FollowLinks::kNever,
       {"a.txt", "sub/b.txt"},
       {"a-link", "broken", "fifo", "out", "saves", "sub/up"}},
      {FollowLinks::kGuarded,
       {"a-link", "a.txt", "saves/w/level.dat", "sub/b.txt"},
       {"broken", "fifo", "out", "sub/up"}},
  };
  for (const auto& c : cases) {
    std::string base = dir() + std::to_string(static_cast<int>(c.links)) + "/";
    SCOPED_TRACE(base);
    WriteFile(base + "src/a.txt", "a");
    WriteFile(base + "src/sub/b.txt", "b");
    WriteFile(base + "elsewhere/saves/w/level.dat", "level");
    fs::create_symlink(base + "elsewhere/saves", base + "src/saves");
    fs::create_symlink("..", base + "src/sub/up");
    fs::create_symlink(base + "clone", base + "src/out");
    fs::create_symlink("a.txt", base + "src/a-link");
    fs::create_symlink("gone", base + "src/broken");
    ASSERT_EQ(::mkfifo((base + "src/fifo").c_str(), 0600), 0);
    std::vector<std::string> skipped, copied;
    ASSERT_TRUE(CopyTree(base + "src\\", base + "clone\\", c.links, &skipped));
    for (const auto& entry : fs::recursive_directory_iterator(base + "clone"))
      if (entry.is_regular_file())
        copied.push_back(fs::relative(entry.path(), base + "clone").string());
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, c.copied);
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, c.skipped);
    EXPECT_EQ(ReadFile(base + "clone/a.txt"), "a");
    EXPECT_TRUE(fs::is_symlink(base + "src/saves"));  // the source is left as it was
  }
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

// Peak resident memory in KiB of a child process that runs `work`; `ok` is its result.
long ChildPeakKiB(const std::function<bool()>& work, bool* ok) {
  pid_t child = ::fork();
  if (child == 0) ::_exit(work() ? 0 : 1);
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return usage.ru_maxrss;
}

// A child's peak counts what it shares with this process; an idle child shows how much.
void ExpectCopiedInLittleMemory(const std::string& from, const std::string& to) {
  bool idle_ok = false, copied = false;
  long idle = ChildPeakKiB([] { return true; }, &idle_ok);
  long copying = ChildPeakKiB([&] { return CopyFile(from, to); }, &copied);
  ASSERT_TRUE(copied);
#ifndef __SANITIZE_ADDRESS__  // its shadow memory alone is more
  EXPECT_LT(copying, 100 * 1024) << "peak " << copying << " KiB";
#endif
  EXPECT_LT(copying - idle, 32 * 1024) << "peak " << copying << " KiB, idle " << idle << " KiB";
  EXPECT_EQ(std::system(("cmp -s '" + from + "' '" + to + "'").c_str()), 0);
}

// A file of 1 GiB: holes, and data regions (one at the end) larger than a copy may hold.
TEST_F(FsTest, AGigabyteCopiesInConstantMemory) {
  ASSERT_EQ(std::system("truncate -s 1G big.mca && for at in 256:96 1016:8; do head -c "
                        "${at#*:}M /dev/urandom | dd of=big.mca bs=1M seek=${at%:*} "
                        "conv=notrunc status=none; done"),
            0);
  ExpectCopiedInLittleMemory(dir() + "big.mca", dir() + "copy.mca");
  EXPECT_LT(Stat("copy.mca").st_blocks * 512, 256 << 20) << "holes were filled in";
  // On another file system the kernel will not copy between the two: the copy goes through a
  // buffer of its own.
  std::string other = OtherFileSystem("copy");
  if (other.empty()) GTEST_SKIP() << "no second file system to copy to";
  ExpectCopiedInLittleMemory(dir() + "big.mca", other);
  fs::remove(other);
}

// A downloaded jar in a cache on another file system still reaches the store; neither a move
// nor a checked rename replaces what is there, not even a dangling link.
TEST_F(FsTest, MovesAndRenamesNeverReplace) {
  WriteFile("a", "a");
  WriteFile("b", "b");
  fs::create_symlink(dir() + "missing", "dangling");
  EXPECT_FALSE(RenameAfterCheck(dir() + "a", dir() + "b"));
  EXPECT_FALSE(RenameAfterCheck(dir() + "a", dir() + "dangling"));
  EXPECT_EQ(ReadFile("b"), "b");
  EXPECT_TRUE(fs::is_symlink("dangling"));
  EXPECT_TRUE(RenameAfterCheck(dir() + "a", dir() + "c"));
  EXPECT_EQ(ReadFile("c"), "a");
  EXPECT_FALSE(fs::exists("a"));
  EXPECT_TRUE(RenameFile(dir() + "c", dir() + "moved"));
  EXPECT_EQ(ReadFile("moved"), "a");

  std::string other = OtherFileSystem("move");
  if (other.empty()) GTEST_SKIP() << "no second file system to move from";
  WriteFile(other, "jar");
  EXPECT_FALSE(MoveFile(other, dir() + "b"));
  EXPECT_EQ(ReadFile("b"), "b");
  ASSERT_TRUE(MoveFile(other, dir() + "stored.jar"));
  EXPECT_EQ(ReadFile("stored.jar"), "jar");
  EXPECT_FALSE(fs::exists(other));
}

}  // namespace
}  // namespace oxlip::platform

// File copies keep the source's times and stream in constant memory, also across file systems.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class FileCopyTest : public test::InTempFolder {};

struct timespec ModifiedAt(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mtim;
}

void SetModified(const std::string& path, time_t seconds, long nanoseconds) {
  struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

TEST_F(FileCopyTest, CopiesKeepTimesAndRights) {
  WriteFile("src/world/level.dat", "level");
  WriteFile("src/world/region/r.0.0.mca", std::string(100000, 'r'));
  WriteFile("src/mods.ini", "m");
  ::chmod("src/mods.ini", 0640);
  SetModified("src/world/level.dat", 1300000000, 123456789);
  SetModified("src/world/region/r.0.0.mca", 1300000100, 5);
  SetModified("src/mods.ini", 1200000000, 0);
  SetModified("src/world/region", 1300000200, 0);
  SetModified("src/world", 1300000300, 0);

  ASSERT_TRUE(CopyFile(dir() + "src\\mods.ini", dir() + "one.ini"));
  EXPECT_TRUE(SameTime(ModifiedAt("one.ini"), ModifiedAt("src/mods.ini")));
  struct stat st {};
  ::stat("one.ini", &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  ASSERT_TRUE(CopyTree(dir() + "src\\", dir() + "clone\\"));
  for (const char* name :
       {"world/level.dat", "world/region/r.0.0.mca", "mods.ini", "world/region", "world"})
    EXPECT_TRUE(
        SameTime(ModifiedAt("clone/" + std::string(name)), ModifiedAt("src/" + std::string(name))))
        << name;
  EXPECT_EQ(ReadFile("clone/world/region/r.0.0.mca"), std::string(100000, 'r'));
}

// A tree with a folder linked from elsewhere (a "saves" folder on another disk), a link to an
// ancestor, one into the copy's own target, a broken link and a FIFO.
struct TreeCopyCase {
  const char* label;
  FollowLinks links;
  std::vector<std::string> copied;   // files below the target, with the source's bytes
  std::vector<std::string> skipped;  // as named by the copy
};

void PrintTo(const TreeCopyCase& c, std::ostream* out) { *out << c.label; }

class TreeCopyTest : public FileCopyTest, public testing::WithParamInterface<TreeCopyCase> {};

TEST_P(TreeCopyTest, LinksAreFollowedOnlyWhenAskedAndNeverInALoop) {
  const TreeCopyCase& c = GetParam();
  WriteFile("src/a.txt", "a");
  WriteFile("src/sub/b.txt", "b");
  WriteFile("elsewhere/saves/w/level.dat", "level");
  fs::create_symlink(dir() + "elsewhere/saves", "src/saves");
  fs::create_symlink("..", "src/sub/up");
  fs::create_symlink(dir() + "clone", "src/out");
  fs::create_symlink("a.txt", "src/a-link");
  fs::create_symlink("gone", "src/broken");
  ASSERT_EQ(::mkfifo("src/fifo", 0600), 0);
  std::vector<std::string> skipped;
  ASSERT_TRUE(CopyTree(dir() + "src\\", dir() + "clone\\", c.links, &skipped));
  std::vector<std::string> copied;
  for (const auto& entry : fs::recursive_directory_iterator(dir() + "clone"))
    if (entry.is_regular_file())
      copied.push_back(fs::relative(entry.path(), dir() + "clone").string());
  std::sort(copied.begin(), copied.end());
  EXPECT_EQ(copied, c.copied);
  std::sort(skipped.begin(), skipped.end());
  EXPECT_EQ(skipped, c.skipped);
  EXPECT_EQ(ReadFile("clone/a.txt"), "a");
  EXPECT_TRUE(fs::is_symlink("src/saves"));  // the source is left as it was
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TreeCopyTest,
    testing::Values(TreeCopyCase{"Never",
                                 FollowLinks::kNever,
                                 {"a.txt", "sub/b.txt"},
                                 {"a-link", "broken", "fifo", "out", "saves", "sub/up"}},
                    TreeCopyCase{"Guarded",
                                 FollowLinks::kGuarded,
                                 {"a-link", "a.txt", "saves/w/level.dat", "sub/b.txt"},
                                 {"broken", "fifo", "out", "sub/up"}}),
    [](const testing::TestParamInfo<TreeCopyCase>& info) { return info.param.label; });

// A file of 1 GiB: holes, with data regions larger than the memory a copy may take.
constexpr std::int64_t kMiB = 1 << 20;
constexpr std::int64_t kBigSize = 1024 * kMiB;
const std::pair<std::int64_t, std::int64_t> kDataRegions[] = {{256 * kMiB, 96 * kMiB},
                                                              {kBigSize - 8 * kMiB, 8 * kMiB}};

char PatternByte(std::int64_t offset) { return static_cast<char>((offset * 2654435761u) >> 13); }

void MakeBigFile(const std::string& path) {
  { std::ofstream create(path, std::ios::binary); }
  fs::resize_file(path, kBigSize);
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  std::vector<char> chunk(kMiB);
  for (const auto& [start, length] : kDataRegions)
    for (std::int64_t at = start; at < start + length; at += kMiB) {
      for (std::int64_t i = 0; i < kMiB; ++i) chunk[i] = PatternByte(at + i);
      out.seekp(at);
      out.write(chunk.data(), kMiB);
    }
}

std::string ReadAt(const std::string& path, std::int64_t offset, std::int64_t length) {
  std::ifstream in(path, std::ios::binary);
  std::string data(length, '\0');
  in.seekg(offset);
  in.read(data.data(), length);
  data.resize(in.gcount());
  return data;
}

// The data regions whole, and a piece of every 64 MiB of the holes.
bool SameContents(const std::string& a, const std::string& b) {
  for (const auto& [start, length] : kDataRegions)
    for (std::int64_t at = start; at < start + length; at += kMiB)
      if (ReadAt(b, at, kMiB) != ReadAt(a, at, kMiB)) return false;
  for (std::int64_t at = 0; at < kBigSize; at += 64 * kMiB)
    if (ReadAt(b, at, 4096) != ReadAt(a, at, 4096)) return false;
  return true;
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
  EXPECT_EQ(FileSize(to), kBigSize);
  EXPECT_TRUE(SameContents(from, to));
}

TEST_F(FileCopyTest, AGigabyteCopiesInConstantMemory) {
  MakeBigFile("big.mca");
  ExpectCopiedInLittleMemory(dir() + "big.mca", dir() + "copy.mca");
  struct stat st {};
  ::stat("copy.mca", &st);
  EXPECT_LT(st.st_blocks * 512, 256 * kMiB) << "holes were filled in";

  // On another file system the kernel will not copy between the two: the copy goes through a
  // buffer of its own.
  struct stat here {
  }, shm{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(dir().c_str(), &here) != 0 ||
      shm.st_dev == here.st_dev || ::access("/dev/shm", W_OK) != 0)
    GTEST_SKIP() << "no second file system to copy to";
  std::string other = "/dev/shm/oxlip-copy-" + std::to_string(::getpid());
  ExpectCopiedInLittleMemory(dir() + "big.mca", other);
  fs::remove(other);
}

// A downloaded jar in a cache on another file system still reaches the store.
TEST_F(FileCopyTest, MoveCrossesFileSystemsButNeverReplaces) {
  struct stat here {
  }, shm{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(dir().c_str(), &here) != 0 ||
      shm.st_dev == here.st_dev || ::access("/dev/shm", W_OK) != 0)
    GTEST_SKIP() << "no second file system to move from";
  std::string other = "/dev/shm/oxlip-move-" + std::to_string(::getpid());
  WriteFile(other, "jar");
  WriteFile("taken.jar", "kept");
  EXPECT_FALSE(MoveFile(other, dir() + "taken.jar"));
  EXPECT_EQ(ReadFile("taken.jar"), "kept");
  ASSERT_TRUE(MoveFile(other, dir() + "stored.jar"));
  EXPECT_EQ(ReadFile("stored.jar"), "jar");
  EXPECT_FALSE(fs::exists(other));
}

TEST_F(FileCopyTest, CheckedRenameRefusesAnyExistingTarget) {
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
}

}  // namespace
}  // namespace oxlip::platform

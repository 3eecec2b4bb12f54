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

class FileCopyTest : public test::InTempFolder {
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

TEST_F(FileCopyTest, CopiesKeepTimesAndRights) {
  WriteFile("src/world/region/r.0.0.mca", std::string(100000, 'r'));
  WriteFile("src/mods.ini", "m");
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
  ASSERT_TRUE(CopyFile(dir() + "src\\mods.ini", dir() + "one.ini"));
  EXPECT_TRUE(same_time("one.ini", "src/mods.ini"));
  EXPECT_EQ(Stat("one.ini").st_mode & 0777, 0640u);
  ASSERT_TRUE(CopyTree(dir() + "src\\", dir() + "clone\\"));
  for (const char* name : {"world/region/r.0.0.mca", "mods.ini", "world"})
    EXPECT_TRUE(same_time("clone/" + std::string(name), "src/" + std::string(name))) << name;
  EXPECT_EQ(ReadFile("clone/world/region/r.0.0.mca"), std::string(100000, 'r'));
}

// A tree with a folder linked from elsewhere (a "saves" folder on another disk), a link to an
// ancestor, one into the copy's own target, a broken link and a FIFO.
TEST_F(FileCopyTest, LinksAreFollowedOnlyWhenAskedAndNeverInALoop) {
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

// A file of 1 GiB: holes, and data regions (one at the end) larger than a copy may hold.
constexpr std::int64_t kMiB = 1 << 20, kBigSize = 1024 * kMiB;
const std::pair<std::int64_t, std::int64_t> kDataRegions[] = {{256 * kMiB, 96 * kMiB},
                                                              {kBigSize - 8 * kMiB, 8 * kMiB}};

std::string ReadAt(const std::string& path, std::int64_t offset, std::int64_t length) {
  std::ifstream in(path, std::ios::binary);
  std::string data(length, '\0');
  in.seekg(offset);
  in.read(data.data(), length);
  data.resize(in.gcount());
  return data;
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
  // The data regions whole, and a piece of every 64 MiB of the holes.
  for (const auto& [start, length] : kDataRegions)
    for (std::int64_t at = start; at < start + length; at += kMiB)
      ASSERT_EQ(ReadAt(to, at, kMiB), ReadAt(from, at, kMiB)) << at;
  for (std::int64_t at = 0; at < kBigSize; at += 64 * kMiB)
    ASSERT_EQ(ReadAt(to, at, 4096), ReadAt(from, at, 4096)) << at;
}

TEST_F(FileCopyTest, AGigabyteCopiesInConstantMemory) {
  { std::ofstream create("big.mca", std::ios::binary); }
  fs::resize_file("big.mca", kBigSize);
  std::fstream out("big.mca", std::ios::binary | std::ios::in | std::ios::out);
  std::vector<char> chunk(kMiB);
  for (const auto& [start, length] : kDataRegions)
    for (std::int64_t at = start; at < start + length; at += kMiB) {
      for (std::int64_t i = 0; i < kMiB; ++i)
        chunk[i] = static_cast<char>((at + i) * 2654435761u >> 13);
      out.seekp(at);
      out.write(chunk.data(), kMiB);
    }
  out.close();
  ExpectCopiedInLittleMemory(dir() + "big.mca", dir() + "copy.mca");
  EXPECT_LT(Stat("copy.mca").st_blocks * 512, 256 * kMiB) << "holes were filled in";
  // On another file system the kernel will not copy between the two: the copy goes through a
  // buffer of its own.
  std::string other = OtherFileSystem("copy");
  if (other.empty()) GTEST_SKIP() << "no second file system to copy to";
  ExpectCopiedInLittleMemory(dir() + "big.mca", other);
  fs::remove(other);
}

// A downloaded jar in a cache on another file system still reaches the store.
TEST_F(FileCopyTest, MoveCrossesFileSystemsButNeverReplaces) {
  std::string other = OtherFileSystem("move");
  if (other.empty()) GTEST_SKIP() << "no second file system to move from";
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

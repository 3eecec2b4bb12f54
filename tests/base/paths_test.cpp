#include <gtest/gtest.h>

#include <thread>

#include "base/create_path.h"
#include "base/error_text.h"
#include "base/folder_name.h"
#include "base/listed_paths.h"
#include "base/newest_file_date.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using test::WriteFile;

class PathsTest : public test::InTempFolder {};

TEST_F(PathsTest, CreatePathMakesEveryFolderBeforeASeparator) {
  std::string given = dir() + "a/b\\\\patch\\";
  std::string copy = given;
  CreatePath(given);
  EXPECT_EQ(given, copy);
  EXPECT_TRUE(platform::IsFolder(dir() + "a/b/patch"));
  CreatePath(dir() + "c\\d\\file.txt");
  EXPECT_TRUE(platform::IsFolder(dir() + "c/d"));
  EXPECT_FALSE(platform::Exists(dir() + "c/d/file.txt"));
}

TEST_F(PathsTest, MakeFolderNameReplacesCharactersAndAvoidsExistingFolders) {
  std::string first = MakeFolderName("My World 1.2", dir());
  ASSERT_NE(first.find(" - "), std::string::npos);
  EXPECT_EQ(first.substr(first.find(" - ")), " - My_World_1.2");
  std::string hex = first.substr(0, first.find(" - "));
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_NE(hex[0], '0');

  std::string odd = MakeFolderName("a:\xC3\xBC", dir());
  EXPECT_EQ(odd.substr(odd.find(" - ")), " - a___");
  std::string empty = MakeFolderName("", dir());
  EXPECT_EQ(empty.substr(empty.size() - 3), " - ");

  ASSERT_TRUE(platform::CreateFolder(dir() + first));
  std::string second = MakeFolderName("My World 1.2", dir());
  EXPECT_NE(second, first);
  EXPECT_FALSE(platform::Exists(dir() + second));
}

TEST_F(PathsTest, RemoveListedPathsKeepsUnrecordedFilesAndStaysInsideBase) {
  std::string base = dir() + "inst/";
  WriteFile(base + "config/a.cfg", "a");
  WriteFile(base + "config/mine.cfg", "kept");
  WriteFile(base + "mods/b.zip", "b");
  WriteFile(base + "deep/c.txt", "c");
  // A file is a file whatever its date: one of 1970 or earlier keeps its folder too.
  WriteFile(base + "old/1970.txt", "kept");
  ASSERT_TRUE(platform::SetFileDate(base + "old/1970.txt", 0));
  WriteFile(dir() + "outside.txt", "x");
  // clang-format off
  std::map<std::string, int> listed = {{"config\\", 0}, {"config\\a.cfg", 0}, {"mods\\", 0},
      {"mods\\b.zip", 0}, {"deep\\c.txt", 5}, {"..\\outside.txt", 0}, {dir() + "outside.txt", 0},
      {"old\\", 0}};
  // clang-format on
  RemoveListedPaths(base, listed, 1);
  // deep/c.txt is above the level limit.
  for (const char* kept : {"config/mine.cfg", "old/1970.txt", "deep/c.txt", "../outside.txt"})
    EXPECT_TRUE(platform::Exists(base + kept)) << kept;
  for (const char* gone : {"config/a.cfg", "mods"}) EXPECT_FALSE(platform::Exists(base + gone));
}

TEST_F(PathsTest, NewestFileDateLooksThroughTheWholeTree) {
  EXPECT_EQ(NewestFileDate(dir() + "missing/"), 0);
  WriteFile(dir() + "t/a.txt", "a");
  WriteFile(dir() + "t/sub/b.txt", "b");
  ASSERT_TRUE(platform::SetFileDate(dir() + "t/a.txt", 1000000));
  ASSERT_TRUE(platform::SetFileDate(dir() + "t/sub/b.txt", 2000000));
  EXPECT_EQ(NewestFileDate(dir() + "t\\"), 2000000);
}

TEST(ErrorText, WorkerTextIsSeenAfterJoin) {
  std::thread worker([] { SetErrorText("from worker"); });
  worker.join();
  EXPECT_EQ(base::LastErrorText(), "from worker");
}

}  // namespace
}  // namespace oxlip

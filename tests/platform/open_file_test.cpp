// The file objects: their streams, and the queries the archiver relies on not to follow links.
#include "platform/open_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_writer.h"
#include "platform/fs.h"
#include "platform/path_status.h"
#include "platform/pending_file.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class OpenFileTest : public test::InTempFolder {};

TEST_F(OpenFileTest, StatusTellsLinksFromWhatTheyNameAndFilesApart) {
  WriteFile("f", "12345");
  fs::create_directory("d");
  fs::create_symlink(dir() + "f", "link");
  fs::create_symlink(dir() + "missing", "dangling");
  EXPECT_EQ(LinkStatus("f").kind, PathKind::kFile);
  EXPECT_EQ(LinkStatus("f").size, 5);
  EXPECT_EQ(LinkStatus("d\\").kind, PathKind::kFolder);
  EXPECT_EQ(LinkStatus("link").kind, PathKind::kLink);
  EXPECT_EQ(TargetStatus("link").kind, PathKind::kFile);
  EXPECT_EQ(TargetStatus("dangling").kind, PathKind::kMissing);
  EXPECT_EQ(LinkStatus("none").kind, PathKind::kMissing);
  EXPECT_TRUE(SameFile(TargetStatus("link"), LinkStatus("f")));
  EXPECT_FALSE(SameFile(LinkStatus("link"), LinkStatus("f")));
  EXPECT_FALSE(SameFile(LinkStatus("none"), LinkStatus("gone")));
}

TEST_F(OpenFileTest, NewFileIsCreatedOnlyWhereNothingIsNotEvenALink) {
  fs::create_directory("outside");
  fs::create_symlink(dir() + "outside/target", "planted");
  WriteFile("old", "old");
  NewFile file;
  EXPECT_FALSE(file.Create("planted"));
  EXPECT_FALSE(file.Create("old"));
  EXPECT_FALSE(fs::exists("outside/target"));
  EXPECT_EQ(ReadFile("old"), "old");
  fs::create_directory("sub");
  ASSERT_TRUE(file.Create("sub\\new"));
  EXPECT_TRUE(file.Write("abc", 3));
  EXPECT_TRUE(file.SetModified(1000000000));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(ReadFile("sub/new"), "abc");
  EXPECT_EQ(LinkStatus("sub/new").modified, 1000000000);
}

TEST_F(OpenFileTest, InputFileReadsFilesButNotLinksOrFolders) {
  WriteFile("f", "data");
  fs::create_symlink(dir() + "f", "link");
  fs::create_directory("d");
  InputFile in;
  EXPECT_FALSE(in.Open("link"));
  EXPECT_FALSE(in.Open("d"));
  EXPECT_EQ(in.Read(nullptr, 0), -1);
  ASSERT_TRUE(in.Open("f"));
  char buffer[8];
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 4);
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 0);
}

TEST_F(OpenFileTest, FileWriterPiecesOfEverySizeLandInOrderOverAnOldFile) {
  WriteFile(dir() + "f", std::string(300000, 'o'));
  std::string expected;
  FileWriter writer;
  ASSERT_TRUE(writer.Open(dir() + "f"));
  for (size_t size : {1, 70000, 3, 65536, 65535, 0, 10}) {
    std::string piece(size, static_cast<char>('a' + size % 26));
    EXPECT_TRUE(writer.Write(piece));
    expected += piece;
  }
  EXPECT_TRUE(writer.Close());
  EXPECT_TRUE(ReadFile(dir() + "f") == expected);
  // A path that cannot be created.
  EXPECT_FALSE(writer.Open(dir() + "missing\\f"));
  EXPECT_FALSE(writer.Write("x"));
  EXPECT_FALSE(writer.Close());
}

TEST_F(OpenFileTest, PendingFileShowsOnlyWholeAndNeverReplacesAFolder) {
  WriteFile(dir() + "f", "old");
  {
    PendingFile file;
    ASSERT_TRUE(file.Create(dir() + "f"));
    ASSERT_TRUE(file.Write("new bytes", 9));
    EXPECT_EQ(ReadFile(dir() + "f"), "old");
  }
  EXPECT_EQ(test::TreeNames(dir()), std::set<std::string>{"f"});
  EXPECT_EQ(ReadFile(dir() + "f"), "old");

  PendingFile file;
  ASSERT_TRUE(file.Create(dir() + "f"));
  ASSERT_TRUE(file.Write("new bytes", 9));
  ASSERT_TRUE(file.SetModified(1000000000));
  ASSERT_TRUE(file.Publish(dir() + "f"));
  ASSERT_TRUE(file.Publish(dir() + "second"));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(test::TreeNames(dir()), (std::set<std::string>{"f", "second"}));
  EXPECT_EQ(ReadFile(dir() + "f"), "new bytes");
  EXPECT_EQ(ReadFile(dir() + "second"), "new bytes");
  EXPECT_EQ(FileDate(dir() + "second"), ToDateValue(1000000000));
  // No folder, no file; a folder keeps its name.
  PendingFile other;
  EXPECT_FALSE(other.Create(dir() + "missing/f"));
  fs::create_directory(dir() + "d");
  ASSERT_TRUE(other.Create(dir() + "d"));
  EXPECT_FALSE(other.Publish(dir() + "d"));
  other.Close();
  EXPECT_EQ(test::TreeNames(dir()), (std::set<std::string>{"d/", "f", "second"}));
}

}  // namespace
}  // namespace oxlip::platform

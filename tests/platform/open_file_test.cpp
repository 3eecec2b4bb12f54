// The small file-system queries and streams the archiver relies on not to follow links.
#include "platform/open_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <filesystem>

#include "platform/path_status.h"
#include "platform/utf8_names.h"
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

TEST(Utf8Names, TheThreadReadsUtf8WhileTheScopeLasts) {
  std::string previous = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  auto converts = [] {
    std::mbstate_t state{};
    wchar_t wide = 0;
    return std::mbrtowc(&wide, "\xC3\xA9", 2, &state) == 2 && wide == L'\u00E9';
  };
  EXPECT_FALSE(converts());
  {
    Utf8Names utf8;
    EXPECT_TRUE(converts());
  }
  EXPECT_FALSE(converts());
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace oxlip::platform

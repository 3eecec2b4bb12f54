#include "prefs/pref_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "support/temp_folder.h"

namespace oxlip {
namespace {

using test::ReadFile;
using test::WriteFile;

class PrefFileTest : public test::InTempFolder {
 protected:
  void TearDown() override { ClosePrefFile(); }
  std::string Path(const std::string& name) { return dir() + name; }
};

TEST_F(PrefFileTest, WritesExactBytesInWriteOrder) {
  ASSERT_NE(CreatePrefFile(Path("a.ini")), 0);
  WritePrefString("Name", "x");
  WritePrefNumber("MaxMemory", 1024);
  WritePrefNumber("Neg", -7);
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "Name = x\r\nMaxMemory = 1024\r\nNeg = -7\r\n");
}

TEST_F(PrefFileTest, CreateWithoutWritesEmptiesTheFile) {
  WriteFile(Path("a.ini"), "Old = 1\r\n");
  ASSERT_NE(CreatePrefFile(Path("a.ini")), 0);
  EXPECT_EQ(ReadPrefString("Old", "d"), "d");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "");
}

TEST_F(PrefFileTest, MissingFileGivesDefaultsAndIsCreatedOnClose) {
  EXPECT_EQ(OpenPrefFile(Path("new.ini")), 0);
  EXPECT_EQ(ReadPrefString("Key", "def"), "def");
  EXPECT_EQ(ReadPrefNumber("Key", 42), 42);
  WritePrefString("Key", "v");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("new.ini")), "Key = v\r\n");
}

TEST_F(PrefFileTest, LookupIgnoresCaseAndBlanks) {
  WriteFile(Path("a.ini"), "  maxmemory=  1024  \r\nName = \r\nnum = +12abc\r\nbad = x1\r\n");
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefString("MaxMemory", "d"), "1024");
  EXPECT_EQ(ReadPrefNumber("MaxMemory", 5), 1024);
  EXPECT_EQ(ReadPrefString("Name", "d"), "");
  EXPECT_EQ(ReadPrefNumber("Name", 5), 0);
  EXPECT_EQ(ReadPrefNumber("num", 5), 12);
  EXPECT_EQ(ReadPrefNumber("bad", 5), 0);
  EXPECT_EQ(ReadPrefNumber("absent", 5), 5);
}

TEST_F(PrefFileTest, FirstOfTwoKeysWinsAndTakesTheWrittenCase) {
  WriteFile(Path("a.ini"), "KEY = first\nkey = second\n");
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefString("Key", ""), "first");
  WritePrefString("Key", "new");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "Key = new\r\nkey = second\r\n");
}

TEST_F(PrefFileTest, KeysAfterAGroupAreInvisibleAndNewKeysGoBeforeIt) {
  WriteFile(Path("a.ini"), "[Other]\nHidden = 1\n");
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefString("Hidden", "d"), "d");
  WritePrefString("Hidden", "2");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "Hidden = 2\r\n[Other]\r\nHidden = 1\r\n");

  WriteFile(Path("b.ini"), "A = 1\n; note\n[G]\nB = 2\n");
  OpenPrefFile(Path("b.ini"));
  WritePrefString("C", "3");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("b.ini")), "A = 1\r\n; note\r\nC = 3\r\n[G]\r\nB = 2\r\n");
}

TEST_F(PrefFileTest, ReadingOnlyLeavesBytesUntouched) {
  std::string odd = "\n\n  A=1\nB = 2\r\r;x\n";
  WriteFile(Path("a.ini"), odd);
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefString("B", ""), "2");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), odd);
}

TEST_F(PrefFileTest, AnyWriteNormalisesTheWholeFile) {
  WriteFile(Path("a.ini"),
            "\r\n  A  =  1 \r;c\r\n;  two\n[ G ] tail\n\tB= x = y\nnoequals\r\n[open");
  OpenPrefFile(Path("a.ini"));
  WritePrefString("A", "1");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")),
            "A = 1\r\n; c\r\n;  two\r\n[ G ]\r\nB = x = y\r\nnoequals = \r\n[open]\r\n");
}

TEST_F(PrefFileTest, ByteOrderMarkIsKeptWithAnEmptyFirstLine) {
  WriteFile(Path("a.ini"), "\xEF\xBB\xBFName = J\xC3\xBCrgen\r\n");
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefString("Name", ""), "J\xC3\xBCrgen");
  WritePrefString("Other", "1");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "\xEF\xBB\xBF\r\nName = J\xC3\xBCrgen\r\nOther = 1\r\n");
}

TEST_F(PrefFileTest, MalformedUtf8ReadsAsQuestionMarks) {
  WriteFile(Path("a.ini"),
            "\xEF\xBB\xBFName = a\xFF"
            "b\xC3\r\n");
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefString("Name", ""), "a?b?");
}

TEST_F(PrefFileTest, ReadOnlyFileKeepsItsBytes) {
  WriteFile(Path("a.ini"), "A=1\n");
  chmod(Path("a.ini").c_str(), 0444);
  EXPECT_NE(OpenPrefFile(Path("a.ini")), 0);
  EXPECT_EQ(ReadPrefString("A", ""), "1");
  WritePrefString("A", "2");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "A=1\n");
  EXPECT_EQ(CreatePrefFile(Path("a.ini")), 0);
  WritePrefString("A", "3");
  EXPECT_EQ(ReadPrefString("A", "d"), "d");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "A=1\n");
}

TEST_F(PrefFileTest, UnwritableFolderKeepsTheOldBytes) {
  WriteFile(Path("locked/a.ini"), "A=1\n");
  chmod(Path("locked").c_str(), 0555);
  OpenPrefFile(Path("locked/a.ini"));
  WritePrefString("A", "2");
  ClosePrefFile();
  chmod(Path("locked").c_str(), 0755);
  std::string after = ReadFile(Path("locked/a.ini"));
  // Root may write anyway; then the new text must be whole.
  EXPECT_TRUE(after == "A=1\n" || after == "A = 2\r\n") << after;
}

TEST_F(PrefFileTest, OpeningAnotherFileClosesTheCurrentOne) {
  CreatePrefFile(Path("a.ini"));
  WritePrefString("A", "1");
  OpenPrefFile(Path("b.ini"));
  EXPECT_EQ(ReadFile(Path("a.ini")), "A = 1\r\n");
  EXPECT_EQ(ReadPrefString("A", "none"), "none");
}

TEST_F(PrefFileTest, EachThreadHasItsOwnCurrentFile) {
  CreatePrefFile(Path("main.ini"));
  WritePrefString("Main", "1");
  std::thread other([&] {
    EXPECT_EQ(ReadPrefString("Main", "unset"), "unset");
    CreatePrefFile(Path("other.ini"));
    WritePrefString("Other", "2");
    ClosePrefFile();
  });
  other.join();
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("main.ini")), "Main = 1\r\n");
  EXPECT_EQ(ReadFile(Path("other.ini")), "Other = 2\r\n");
}

TEST_F(PrefFileTest, WritingThroughALinkUpdatesItsTarget) {
  WriteFile(Path("real.ini"), "A=1\n");
  ASSERT_EQ(symlink("real.ini", Path("link.ini").c_str()), 0);
  OpenPrefFile(Path("link.ini"));
  WritePrefString("A", "2");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("real.ini")), "A = 2\r\n");
  struct stat st;
  ASSERT_EQ(lstat(Path("link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

}  // namespace
}  // namespace oxlip

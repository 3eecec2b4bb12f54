#include "prefs/pref_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <thread>

#include "prefs/pref_document.h"
#include "prefs/text_encoding.h"
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

TEST_F(PrefFileTest, ReadsIgnoreCaseAndBlanksAndStopAtTheFirstGroup) {
  const struct {
    const char* text;
    const char* key;
    const char* value;  // "d" is the default
  } cases[] = {
      {"  maxmemory=  1024  \r\n", "MaxMemory", "1024"},
      {"Name = \r\n", "Name", ""},
      {"KEY = first\nkey = second\n", "Key", "first"},
      {"[Other]\nHidden = 1\n", "Hidden", "d"},
      {"A = 1\n", "absent", "d"},
      {"\xEF\xBB\xBFName = J\xC3\xBCrgen\r\n", "Name", "J\xC3\xBCrgen"},
      {"\xEF\xBB\xBFName = a\xFF"
       "b\xC3\r\n",
       "Name", "a?b?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    WriteFile(Path("a.ini"), c.text);
    OpenPrefFile(Path("a.ini"));
    EXPECT_EQ(ReadPrefString(c.key, "d"), c.value);
  }
  // Numbers are read as the document reads them.
  WriteFile(Path("a.ini"), "MaxMemory = 1024\r\nnum = +12abc\r\n");
  OpenPrefFile(Path("a.ini"));
  EXPECT_EQ(ReadPrefNumber("maxmemory", 5), 1024);
  EXPECT_EQ(ReadPrefNumber("num", 5), 12);
  EXPECT_EQ(ReadPrefNumber("absent", 5), 5);
}

// Only a write rewrites the file, whole and in its own form.
TEST_F(PrefFileTest, AWriteRewritesTheWholeFile) {
  const struct {
    const char* before;  // nullptr: no file
    const char* key;     // nullptr: nothing written
    const char* after;
  } cases[] = {
      {nullptr, "Key", "Key = v\r\n"},
      {"\n\n  A=1\nB = 2\r\r;x\n", nullptr, "\n\n  A=1\nB = 2\r\r;x\n"},
      {"KEY = first\nkey = second\n", "Key", "Key = v\r\nkey = second\r\n"},
      {"[Other]\nHidden = 1\n", "Hidden", "Hidden = v\r\n[Other]\r\nHidden = 1\r\n"},
      {"A = 1\n; note\n[G]\nB = 2\n", "C", "A = 1\r\n; note\r\nC = v\r\n[G]\r\nB = 2\r\n"},
      {"\r\n  A  =  1 \r;c\r\n;  two\n[ G ] tail\n\tB= x = y\nnoequals\r\n[open", "A",
       "A = v\r\n; c\r\n;  two\r\n[ G ]\r\nB = x = y\r\nnoequals = \r\n[open]\r\n"},
      {"\xEF\xBB\xBFName = x\r\n", "Other", "\xEF\xBB\xBF\r\nName = x\r\nOther = v\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before ? c.before : "no file");
    std::remove(Path("a.ini").c_str());
    if (c.before) WriteFile(Path("a.ini"), c.before);
    OpenPrefFile(Path("a.ini"));
    if (c.key) WritePrefString(c.key, "v");
    ClosePrefFile();
    EXPECT_EQ(ReadFile(Path("a.ini")), c.after);
  }
}

TEST_F(PrefFileTest, CreateHoldsExactlyWhatWasWritten) {
  WriteFile(Path("a.ini"), "Old = 1\r\n");
  ASSERT_NE(CreatePrefFile(Path("a.ini")), 0);
  EXPECT_EQ(ReadPrefString("Old", "d"), "d");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "");

  ASSERT_NE(CreatePrefFile(Path("a.ini")), 0);
  WritePrefString("Name", "x");
  WritePrefNumber("MaxMemory", 1024);
  WritePrefNumber("Neg", -7);
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "Name = x\r\nMaxMemory = 1024\r\nNeg = -7\r\n");
}
// A read-only file keeps its bytes (how a replaced file stays whole is the platform's); a write
// through a link updates its target.
TEST_F(PrefFileTest, WhatCannotBeWrittenKeepsItsBytes) {
  WriteFile(Path("a.ini"), "A=1\n");
  chmod(Path("a.ini").c_str(), 0444);
  EXPECT_NE(OpenPrefFile(Path("a.ini")), 0);
  EXPECT_EQ(ReadPrefString("A", ""), "1");
  WritePrefString("A", "2");
  ClosePrefFile();
  EXPECT_EQ(CreatePrefFile(Path("a.ini")), 0);
  WritePrefString("A", "3");
  EXPECT_EQ(ReadPrefString("A", "d"), "d");
  ClosePrefFile();
  EXPECT_EQ(ReadFile(Path("a.ini")), "A=1\n");

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

// Opening another file closes the current one; each thread has its own current file.
TEST_F(PrefFileTest, OneCurrentFilePerThread) {
  CreatePrefFile(Path("a.ini"));
  WritePrefString("A", "1");
  OpenPrefFile(Path("b.ini"));
  EXPECT_EQ(ReadFile(Path("a.ini")), "A = 1\r\n");
  EXPECT_EQ(ReadPrefString("A", "none"), "none");
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

TEST(PrefNumber, ReadsLikeDecimalConversion) {
  EXPECT_EQ(prefs::ParsePrefNumber("  -12x"), -12);
  EXPECT_EQ(prefs::ParsePrefNumber("+7"), 7);
  EXPECT_EQ(prefs::ParsePrefNumber(""), 0);
  EXPECT_EQ(prefs::ParsePrefNumber("- 5"), 0);
  EXPECT_EQ(prefs::ParsePrefNumber("99999999999"), 2147483647);
  EXPECT_EQ(prefs::ParsePrefNumber("-99999999999"), -2147483647 - 1);
}

TEST(PrefParse, LineEndsAndKindsAreRecognised) {
  prefs::PrefDocument doc = prefs::ParsePrefText("a=1\rb=2\r\n\r\n;  c\n[g]x\n[h");
  ASSERT_EQ(doc.entries.size(), 5u);
  EXPECT_EQ(doc.entries[1].name, "b");
  EXPECT_EQ(doc.entries[2].kind, prefs::PrefEntry::Kind::kComment);
  EXPECT_EQ(doc.entries[2].name, " c");
  EXPECT_EQ(doc.entries[3].name, "g");
  EXPECT_EQ(doc.entries[4].name, "h");
  EXPECT_FALSE(doc.utf8);
  EXPECT_TRUE(prefs::ParsePrefText("\xEF\xBB\xBF").utf8);
  EXPECT_TRUE(prefs::ParsePrefText("\xEF\xBB").entries.size() == 1);
}

TEST(TextEncoding, Latin1RoundTripAndReplacement) {
  EXPECT_EQ(prefs::Latin1ToUtf8("J\xFCrgen"), "J\xC3\xBCrgen");
  EXPECT_EQ(prefs::Utf8ToLatin1("J\xC3\xBCrgen"), "J\xFCrgen");
  EXPECT_EQ(prefs::Utf8ToLatin1("\xE2\x82\xAC"), "?");  // beyond ISO 8859-1
  EXPECT_EQ(prefs::Utf8ToLatin1("\xC0\x80"), "??");     // overlong
  EXPECT_EQ(prefs::Utf8ToLatin1("a\xE2\x82"), "a??");   // truncated at the end
  EXPECT_EQ(prefs::SanitizeUtf8("ok\xE2\x82\xAC\xED\xA0\x80"), "ok\xE2\x82\xAC???");
}

}  // namespace
}  // namespace oxlip

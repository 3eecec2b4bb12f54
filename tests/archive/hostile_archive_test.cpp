// Damaged and hostile archives fail cleanly and write nothing outside the output folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "archive/sevenz_folder.h"
#include "archive/sevenz_header.h"
#include "archive_fixtures.h"
#include "base/error_text.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Hostile : public InTempFolder {};

// Names that climb out or are absolute, non-archives and cut archives: refused before anything
// is written, not even a temporary file.
TEST_F(Hostile, RefusedArchivesWriteNothing) {
  MakeZip("slip.zip", {{"good.txt", "g"}, {"../evil.txt", "e"}, {"a/../../evil2.txt", "e"}});
  MakeSevenZ("slip.7z", {{"good.txt", "g"}, {"sub/../../evil.txt", "e"}});
  MakeZip("abs.zip", {{dir() + "absolute.txt", "x"}});
  MakeSevenZ("abs.7z", {{dir() + "absolute.txt", "x"}});
  MakeZip("drive.zip", {{"C:\\evil.txt", "x"}});
  WriteFile("text.zip", "this is not an archive at all");
  WriteFile("empty.7z", "");
  const std::string big = Noise(300000);
  MakeSevenZ("cut.7z", {{"big.bin", big}});
  MakeZip("cut.zip", {{"big.bin", big}});
  MakeLzma("cut.jar.lzma", big);
  for (const char* name : {"cut.7z", "cut.zip", "cut.jar.lzma"}) {
    std::string bytes = ReadFile(name);
    WriteFile(name, bytes.substr(0, bytes.size() * 2 / 3));
  }
  const Listing before = ListTree(dir());
  for (const char* archive : {"slip.zip", "slip.7z", "abs.zip", "abs.7z", "drive.zip", "text.zip",
                              "empty.7z", "cut.7z", "cut.zip", "cut.jar.lzma"}) {
    SCOPED_TRACE(archive);
    EXPECT_NE(ExtractTo(archive, "out"), 0);
    EXPECT_NE(RunArchiver(std::string("e ") + archive + " -aoa -o\"out\\\""), 0);
    Listing after = ListTree(dir());
    after.erase("out");
    EXPECT_EQ(after, before);
    EXPECT_TRUE(ListTree("out").empty());
  }
}

// Behind a link entry the same name as a folder finds a file there and stops; a link already in
// the output folder is not written through.
TEST_F(Hostile, NothingIsWrittenThroughALink) {
  MakeZip("behind.zip", {FakeEntry::Link("up", "../.."), {"up/evil.txt", "e"}});
  EXPECT_NE(ExtractTo("behind.zip", "out"), 0);
  EXPECT_FALSE(platform::Exists("evil.txt"));
  EXPECT_EQ(ListTree("out"), (Listing{{"up", {false, 5, Crc("../..")}}}));

  platform::CreateFolder("outside");
  std::filesystem::create_directory_symlink(dir() + "outside", "out/pre");
  MakeZip("through.zip", {FakeEntry::Link("in", "sub"), {"in/x.txt", "x"}});
  MakeZip("pre.zip", {{"pre/x.txt", "x"}});
  EXPECT_NE(ExtractTo("through.zip", "out"), 0);
  EXPECT_NE(ExtractTo("pre.zip", "out"), 0);
  EXPECT_TRUE(ListTree("outside").empty());
}

// Stored entries, enough of them that they are written on several threads at once: the first
// whose CRC does not fit is reported, and none of the damaged ones is left, not even in part.
TEST_F(Hostile, AmongManyEntriesTheFirstCorruptOneIsReportedAndNoneIsLeftInPart) {
  std::vector<FakeEntry> entries;
  for (unsigned e = 0; e < 8; ++e)
    entries.push_back({"e" + std::to_string(e) + ".bin", Noise(300000, e), true});
  MakeZip("bad.zip", entries);
  std::string bytes = ReadFile("bad.zip");
  for (int e : {6, 2}) bytes[bytes.find(entries[e].data.substr(1000, 64)) + 5] ^= 0x55;
  WriteFile("bad.zip", bytes);
  EXPECT_NE(ExtractTo("bad.zip", "out"), 0);
  EXPECT_NE(LastErrorText().find("e2.bin"), std::string::npos) << LastErrorText();
  Listing written = ListTree(dir() + "out");
  EXPECT_EQ(written.count("e2.bin") + written.count("e6.bin"), 0u);
  for (const auto& [name, item] : written) EXPECT_EQ(item.size, 300000) << name;
}

// Nothing is changed and no scratch file is left beside it.
TEST_F(Hostile, ChangingADamagedArchiveKeepsItsBytes) {
  MakeZip("game.jar", {{"META-INF/A", "a"}, {"b.class", "b"}});
  std::string cut = ReadFile("game.jar");
  WriteFile("game.jar", cut.substr(0, cut.size() - 30));
  MakeSevenZ("old.7z", {{"a.txt", Text(300000)}});
  Damage("old.7z");
  WriteFile("text.zip", "this is not an archive at all");
  WriteFile("staging/c.class", "c");
  const Listing before = ListTree(dir());
  for (const char* archive : {"game.jar", "old.7z", "text.zip"}) {
    SCOPED_TRACE(archive);
    const std::string quoted = "\"" + std::string(archive) + "\"";
    EXPECT_NE(RunArchiver("a " + quoted + " \"staging\\\" -r -mx9 -x!meta-inf"), 0);
    EXPECT_NE(RunArchiver("d " + quoted + " META-INF "), 0);
    EXPECT_EQ(ListTree(dir()), before);
  }
}

// The address space this process has ever held, in KiB: it counts what a hostile count makes
// us reserve even where the pages are never touched.
long PeakAddressSpaceKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmPeak:", 0) == 0) return std::stol(line.substr(7));
  return 0;
}

// A directory of a few bytes that claims millions of entries or folders, or a packed directory
// whose LZMA coder asks for a dictionary of gigabytes: a clear error, and nothing large is
// reserved on the way.
TEST_F(Hostile, TinySevenZDirectoriesClaimingHugeSizesAllocateNothingLarge) {
  std::string millions;
  archive::AppendSevenZNumber(&millions, 4'000'000);
  const std::string lzma_packed_directory =  // packed info, then one LZMA folder of 100 bytes
      std::string(
          "\x17\x06\x00\x01\x09\x10\x00\x07\x0B\x01\x00\x01\x23\x03\x01\x01\x05"
          "\x5D\x00\x00\x00\xF0\x0C\x64\x00\x00",
          26);
  const struct {
    const char* what;
    std::string packed, header;
  } cases[] = {
      {"entries", "", "\x01\x05" + millions + std::string(2, '\0')},
      {"folders", "", "\x01\x04\x07\x0B" + millions + std::string(4, '\0')},
      {"dictionary", std::string(16, '\0'), lzma_packed_directory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("hostile.7z",
              archive::SevenZSignatureHeader(c.packed.size(), c.header) + c.packed + c.header);
    long before = PeakAddressSpaceKiB();
    archive::SevenZContents contents;
    std::string error;
    EXPECT_EQ(archive::ReadSevenZContents(dir() + "hostile.7z", archive::UnpackFolderToString,
                                          &contents, &error),
              archive::SevenZRead::kDamaged);
    EXPECT_EQ(error.rfind("damaged archive", 0), 0u) << error;
    EXPECT_LT(PeakAddressSpaceKiB() - before, 128 * 1024);
  }
}

}  // namespace
}  // namespace oxlip::test

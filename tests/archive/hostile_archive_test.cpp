// Damaged and hostile archives fail cleanly and write nothing outside the output folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "archive/sevenz_folder.h"
#include "archive/sevenz_header.h"
#include "archive_fixtures.h"
#include "base/error_text.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Hostile : public InTempFolder {
 protected:
  // Nothing of the extraction may remain, not even a temporary file.
  bool OutputIsEmpty() { return ListTree(dir() + "out").empty(); }
};

TEST_F(Hostile, ParentPartsAreRefusedBeforeAnythingIsWritten) {
  MakeZip("slip.zip", {{"good.txt", "g"}, {"../evil.txt", "e"}, {"a/../../evil2.txt", "e"}});
  MakeSevenZ("slip.7z", {{"good.txt", "g"}, {"sub/../../evil.txt", "e"}});
  EXPECT_NE(RunArchiver("x slip.zip -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("x slip.7z -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("e slip.zip -aoa -o\"out\\\""), 0);
  EXPECT_FALSE(platform::Exists("evil.txt"));
  EXPECT_FALSE(platform::Exists("../evil2.txt"));
  EXPECT_TRUE(OutputIsEmpty());
}

TEST_F(Hostile, AbsoluteNamesAreRefused) {
  std::string target = dir() + "absolute.txt";
  MakeZip("abs.zip", {{target, "x"}});
  MakeSevenZ("abs.7z", {{target, "x"}});
  MakeZip("drive.zip", {{"C:\\evil.txt", "x"}});
  EXPECT_NE(RunArchiver("x abs.zip -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("x abs.7z -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("x drive.zip -aoa -o\"out\\\""), 0);
  EXPECT_FALSE(platform::Exists(target));
  EXPECT_TRUE(OutputIsEmpty());
}

// The archiver on Windows writes a link entry as a file holding the target text; so do we,
// wherever it points, so that no later move or pack can follow it.
TEST_F(Hostile, LinkEntriesBecomeFilesHoldingTheirTarget) {
  MakeZip("link.zip", {FakeEntry::Link("up", "../.."),
                       FakeEntry::Link("etc", "/etc"),
                       {"sub/file.txt", "f"},
                       FakeEntry::Link("sub/alias", "file.txt")});
  MakeSevenZ("link.7z", {FakeEntry::Link("etc", "/etc"), FakeEntry::Link("sub/x", "../../x")});
  ASSERT_EQ(RunArchiver("x link.zip -aoa -o\"out\\\""), 0);
  ASSERT_EQ(RunArchiver("x link.7z -aoa -o\"out7z\\\""), 0);
  EXPECT_EQ(ListTree("out"), (Listing{{"up", {false, 5, Crc("../..")}},
                                      {"etc", {false, 4, Crc("/etc")}},
                                      {"sub", {true, 0, 0}},
                                      {"sub/file.txt", {false, 1, Crc("f")}},
                                      {"sub/alias", {false, 8, Crc("file.txt")}}}));
  EXPECT_EQ(ListTree("out7z"), (Listing{{"etc", {false, 4, Crc("/etc")}},
                                        {"sub", {true, 0, 0}},
                                        {"sub/x", {false, 7, Crc("../../x")}}}));
}

// Behind a link entry, the same name as a folder finds a file there and stops.
TEST_F(Hostile, NamesBehindALinkEntryStayInside) {
  MakeZip("link.zip", {FakeEntry::Link("up", "../.."), {"up/evil.txt", "e"}});
  EXPECT_NE(RunArchiver("x link.zip -aoa -o\"out\\\""), 0);
  EXPECT_FALSE(platform::Exists("evil.txt"));
  EXPECT_EQ(ListTree("out"), (Listing{{"up", {false, 5, Crc("../..")}}}));
}

TEST_F(Hostile, NothingIsWrittenThroughALink) {
  platform::CreateFolder("outside");
  MakeZip("through.zip", {FakeEntry::Link("in", "sub"), {"in/x.txt", "x"}});
  std::filesystem::create_directories("out");
  std::filesystem::create_directory_symlink(dir() + "outside", "out/pre");
  MakeZip("pre.zip", {{"pre/x.txt", "x"}});
  EXPECT_NE(RunArchiver("x through.zip -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("x pre.zip -aoa -o\"out\\\""), 0);
  EXPECT_TRUE(ListTree("outside").empty());
}

TEST_F(Hostile, CorruptedEntryLeavesNoFileUnderItsName) {
  std::string big;
  for (int i = 0; i < 200000; ++i) big += static_cast<char>('a' + (i * 7919) % 26);
  MakeZip("bad.zip", {{"big.bin", big, true}});
  std::string bytes = ReadFile("bad.zip");
  bytes[bytes.size() / 2] ^= 0x55;  // inside the stored data: the CRC no longer fits
  WriteFile("bad.zip", bytes);
  EXPECT_NE(RunArchiver("x bad.zip -aoa -o\"out\\\""), 0);
  EXPECT_TRUE(OutputIsEmpty());
}

// Enough entries and bytes that they are written on several threads at once.
TEST_F(Hostile, AmongManyEntriesTheFirstCorruptOneIsReportedAndNoneIsLeftInPart) {
  std::vector<FakeEntry> entries;
  for (int e = 0; e < 8; ++e) {
    std::mt19937 random(e);
    std::string data;
    for (int i = 0; i < 300000; ++i) data += static_cast<char>(random());
    entries.push_back({"e" + std::to_string(e) + ".bin", data, true});
  }
  MakeZip("bad.zip", entries);
  std::string bytes = ReadFile("bad.zip");
  for (int e : {6, 2}) bytes[bytes.find(entries[e].data.substr(1000, 64)) + 5] ^= 0x55;
  WriteFile("bad.zip", bytes);
  EXPECT_NE(RunArchiver("x bad.zip -aoa -o\"out\\\""), 0);
  EXPECT_NE(LastErrorText().find("e2.bin"), std::string::npos) << LastErrorText();
  Listing written = ListTree(dir() + "out");
  EXPECT_EQ(written.count("e2.bin") + written.count("e6.bin"), 0u);
  for (const auto& [name, item] : written) EXPECT_EQ(item.size, 300000) << name;
}

TEST_F(Hostile, TruncatedArchivesFailWithoutPartFiles) {
  std::string big;
  for (int i = 0; i < 300000; ++i) big += static_cast<char>((i * 2654435761u) >> 24);
  MakeSevenZ("cut.7z", {{"big.bin", big}});
  MakeZip("cut.zip", {{"big.bin", big}});
  MakeLzma("cut.jar.lzma", big);
  for (const char* name : {"cut.7z", "cut.zip", "cut.jar.lzma"}) {
    std::string bytes = ReadFile(name);
    WriteFile(name, bytes.substr(0, bytes.size() * 2 / 3));
    EXPECT_NE(RunArchiver(std::string("x ") + name + " -aoa -o\"out\\\""), 0) << name;
  }
  EXPECT_TRUE(OutputIsEmpty());
}

TEST_F(Hostile, ChangingADamagedArchiveKeepsItsBytes) {
  MakeZip("game.jar", {{"META-INF/A", "a"}, {"b.class", "b"}});
  std::string bytes = ReadFile("game.jar");
  std::string cut = bytes.substr(0, bytes.size() - 30);
  WriteFile("game.jar", cut);
  WriteFile("staging/c.class", "c");
  EXPECT_NE(RunArchiver("a \"game.jar\" \"staging\\\" -r -mx9 -x!meta-inf"), 0);
  EXPECT_NE(RunArchiver("d \"game.jar\" META-INF "), 0);
  EXPECT_EQ(ReadFile("game.jar"), cut);
}

TEST_F(Hostile, NonArchivesAreRefused) {
  WriteFile("text.zip", "this is not an archive at all");
  WriteFile("empty.7z", "");
  EXPECT_NE(RunArchiver("x text.zip -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("x empty.7z -aoa -o\"out\\\""), 0);
  EXPECT_NE(RunArchiver("d text.zip META-INF "), 0);
  EXPECT_EQ(ReadFile("text.zip"), "this is not an archive at all");
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

std::string SevenZNumber(std::uint64_t value) {
  std::string out;
  archive::AppendSevenZNumber(&out, value);
  return out;
}

// A directory of a few bytes that claims millions of entries or folders, or a packed directory
// whose LZMA coder asks for a dictionary of gigabytes: a clear error, and nothing large is
// reserved on the way.
TEST_F(Hostile, TinySevenZDirectoriesClaimingHugeSizesAllocateNothingLarge) {
  const std::string millions = SevenZNumber(4'000'000);
  const std::string lzma_packed_directory =  // packed info, then one LZMA folder of 100 bytes
      std::string(
          "\x17\x06\x00\x01\x09\x10\x00\x07\x0B\x01\x00\x01\x23\x03\x01\x01\x05"
          "\x5D\x00\x00\x00\xF0\x0C\x64\x00\x00",
          26);
  struct Case {
    const char* what;
    std::string packed, header;
  } cases[] = {
      {"entries", "", "\x01\x05" + millions + std::string(2, '\0')},
      {"folders", "", "\x01\x04\x07\x0B" + millions + std::string(4, '\0')},
      {"dictionary", std::string(16, '\0'), lzma_packed_directory},
  };
  for (const Case& c : cases) {
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

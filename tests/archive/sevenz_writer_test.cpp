// Archives our writer makes, checked by the 7-Zip program ("t", "l -slt", "x") and by
// libarchive: names, sizes, times, attributes and bytes, over every way data gets packed.
#include "archive/sevenz_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "platform/utf8_names.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

namespace fs = std::filesystem;

void SetModified(const std::string& path, std::int64_t seconds) {
  fs::last_write_time(path, std::chrono::file_clock::from_sys(
                                std::chrono::sys_seconds(std::chrono::seconds(seconds))));
}

// What "7zz l -slt" says of each entry: path to its properties.
using SltListing = std::map<std::string, std::map<std::string, std::string>>;

SltListing ListWithProgram(const std::string& archive) {
  std::string line = "TZ=UTC LC_ALL=C.UTF-8 7zz l -slt '" + archive + "' -bse0 > listing.txt";
  SltListing listing;
  if (std::system(line.c_str()) != 0) return listing;
  std::istringstream in(ReadFile("listing.txt"));
  std::string text, path;
  bool entries = false;
  while (std::getline(in, text)) {
    entries = entries || text == "----------";
    std::size_t equals = text.find(" = ");
    if (!entries || equals == std::string::npos) continue;
    std::string key = text.substr(0, equals), value = text.substr(equals + 3);
    if (key == "Path") path = value;
    listing[path][key] = value;
  }
  return listing;
}

class SevenZWriter : public InTempFolder {
 protected:
  void SetUp() override {
    if (!HaveSevenZipProgram()) GTEST_SKIP() << "7zz is not installed";
  }
};

// Data of every kind, empty files and folders, a link, names beyond ASCII, many small files
// and copies, for one thread and for more threads than cores.
TEST_F(SevenZWriter, TheProgramAndLibarchiveReadWhatWeWrite) {
  WriteFile("src/text.txt", Text(3000000, 1));
  WriteFile("src/noise.bin", Noise(2000000, 2));
  std::string nearly = Noise(300000, 3);
  for (std::size_t i = 0; i < nearly.size(); i += 300) nearly.replace(i, 40, Text(40, 4));
  WriteFile("src/jar.jar", nearly);
  WriteFile("src/copy-a.ogg", Noise(400000, 5));
  WriteFile("src/sub/copy-b.ogg", Noise(400000, 5));
  WriteFile("src/empty.txt", "");
  fs::create_directories("src/empty folder/inner");
  WriteFile("src/Ünïcödé/файл 日本語 😀.txt", "named");
  for (int i = 0; i < 300; ++i)
    WriteFile("src/many/f" + std::to_string(i) + ".cfg", Text(10 + i * 7, 100 + i));

  std::vector<archive::PackEntry> entries;
  std::int64_t when = 1500000000;
  for (auto it = fs::recursive_directory_iterator("src"); it != fs::recursive_directory_iterator();
       ++it) {
    archive::PackEntry entry;
    entry.name = fs::relative(it->path(), "src").generic_string();
    entry.modified = when += 3600;
    SetModified(it->path().string(), entry.modified);
    if (it->is_directory()) {
      entry.kind = archive::SevenZKind::kFolder;
      entry.permissions = 0755;
    } else {
      entry.size = fs::file_size(it->path());
      entry.disk_path = it->path().string();
    }
    entries.push_back(entry);
  }
  Listing expected = ListTree("src");
  const std::string target = "файл.txt";
  entries.push_back({"Ünïcödé/link", archive::SevenZKind::kLink, 0777, 1600000000, 250000000,
                     target.size(), "", -1, target});
  expected["Ünïcödé/link"] = {false, static_cast<std::int64_t>(target.size()), Crc(target), true};
  platform::Utf8Names utf8;  // libarchive reads the names beyond ASCII through the locale
  for (unsigned threads : {1u, 5u}) {
    SCOPED_TRACE(threads);
    std::string archive = "t" + std::to_string(threads) + ".7z", error;
    ASSERT_TRUE(archive::WriteSevenZ(archive, entries, {true, threads, ""}, &error)) << error;
    EXPECT_EQ(ListArchive(archive), expected);
    EXPECT_EQ(RunSevenZipProgram(dir(), "t " + archive), 0);
    ASSERT_EQ(RunSevenZipProgram(dir(), "x " + archive + " -snl -oout" + archive), 0);
    EXPECT_EQ(ListTree("out" + archive), expected);

    SltListing listing = ListWithProgram(archive);
    ASSERT_EQ(listing.size(), entries.size());
    for (const archive::PackEntry& entry : entries) {
      SCOPED_TRACE(entry.name);
      auto& item = listing[entry.name];
      bool folder = entry.kind == archive::SevenZKind::kFolder;
      EXPECT_EQ(item["Size"], std::to_string(entry.size));
      EXPECT_EQ(item["Attributes"], folder                      ? "D drwxr-xr-x"
                                    : entry.link_target.empty() ? "A -rw-r--r--"
                                                                : "A lrwxrwxrwx");
      std::time_t seconds = entry.modified;
      char stamp[32];
      std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::gmtime(&seconds));
      EXPECT_EQ(item["Modified"].substr(0, 19), stamp);
    }
  }
}

TEST_F(SevenZWriter, CopiesOfDataThatDoesNotCompressCostOne) {
  WriteFile("a/x.ogg", Noise(1000000, 5));
  WriteFile("a/y.bin", Noise(100000, 6));
  WriteFile("a/z/x-copy.ogg", Noise(1000000, 5));
  ASSERT_EQ(RunArchiver("a b.7z a\\ -r -mx9"), 0);
  EXPECT_LT(fs::file_size("b.7z"), 1150000u);
  EXPECT_EQ(RunSevenZipProgram(dir(), "t b.7z"), 0);
}

// A log that grew after it was listed is read again as it is; a file that never reads as long
// as it says it is (a sysfs file) keeps "changing", and the error names it.
TEST_F(SevenZWriter, AChangedFileIsReadAgainAndOneThatKeepsChangingOrVanishedIsNamed) {
  WriteFile("a.txt", "four");
  std::vector<archive::PackEntry> entries(1);
  entries[0].name = "a.txt";
  entries[0].disk_path = dir() + "a.txt";
  entries[0].size = 3;
  std::string error;
  ASSERT_TRUE(archive::WriteSevenZ("x.7z", entries, {}, &error)) << error;
  EXPECT_EQ(ListArchive("x.7z"), (Listing{{"a.txt", {false, 4, Crc("four")}}}));

  const std::string shorter = "/sys/devices/system/cpu/online";
  if (platform::FileSize(shorter) > static_cast<std::int64_t>(ReadFile(shorter).size())) {
    entries[0].disk_path = shorter;
    entries[0].size = static_cast<std::uint64_t>(platform::FileSize(shorter));
    EXPECT_FALSE(archive::WriteSevenZ("s.7z", entries, {}, &error));
    EXPECT_EQ(error, shorter + " changed while it was packed");
  }
  entries[0].disk_path = dir() + "gone.txt";
  error.clear();
  EXPECT_FALSE(archive::WriteSevenZ("y.7z", entries, {}, &error));
  EXPECT_NE(error.find("gone.txt"), std::string::npos) << error;
}

// The header holds names as UTF-16: a name that is not UTF-8 fails before anything is packed.
TEST_F(SevenZWriter, ANameThatIsNotUtf8FailsTheArchive) {
  WriteFile("src/ok.txt", "ok");
  WriteFile("src/bad\xFF.txt", "bad");
  EXPECT_NE(RunArchiver("a x.7z src\\ -r"), 0);
  EXPECT_FALSE(platform::Exists("x.7z"));
}

// An archive the program made, with a link and an empty folder: adding to it keeps its entries
// (the link a link) and their times, and the program accepts the result.
TEST_F(SevenZWriter, AddingToTheProgramsArchiveKeepsItsEntries) {
  WriteFile("old/keep.txt", Text(200000, 7));
  WriteFile("old/noise.bin", Noise(100000, 8));
  WriteFile("old/same.txt", "old");
  fs::create_directories("old/empty");
  fs::create_symlink("keep.txt", "old/link");
  SetModified("old/keep.txt", 1400000000);
  ASSERT_EQ(RunSevenZipProgram(dir() + "old", "a -snl ../a.7z *"), 0);
  WriteFile("same.txt", "newer");
  ASSERT_EQ(RunArchiver("a a.7z same.txt"), 0);
  EXPECT_EQ(RunSevenZipProgram(dir(), "t a.7z"), 0);
  Listing listing = ListArchive("a.7z");
  EXPECT_EQ(listing.size(), 5u);
  EXPECT_EQ(listing["keep.txt"].crc, Crc(Text(200000, 7)));
  EXPECT_EQ(listing["noise.bin"].crc, Crc(Noise(100000, 8)));
  EXPECT_EQ(listing["same.txt"].crc, Crc("newer"));
  EXPECT_TRUE(listing["empty"].folder);
  EXPECT_TRUE(listing["link"].link);
  SltListing slt = ListWithProgram("a.7z");
  EXPECT_EQ(slt["keep.txt"]["Modified"].substr(0, 19), "2014-05-13 16:53:20");
  EXPECT_EQ(slt["link"]["Attributes"].substr(0, 3), "A l");
  // No scratch or temporary file is left beside it.
  std::size_t beside = 0;
  for (const auto& entry : fs::directory_iterator(dir()))
    beside += entry.path().filename().string().rfind("a.7z", 0) == 0;
  EXPECT_EQ(beside, 1u);
}

}  // namespace
}  // namespace oxlip::test

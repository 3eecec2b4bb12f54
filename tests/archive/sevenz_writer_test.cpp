// Archives our writer makes, checked by the 7-Zip program ("t", "x") and by libarchive: names,
// sizes, times, rights and bytes, over every way data gets packed.
#include "archive/sevenz_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

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

struct stat Lstat(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st;
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
  Listing expected = ListTree("src"), extracted = expected;
  const std::string target = "файл.txt";  // dangling: read through, it is empty
  entries.push_back({"Ünïcödé/link", archive::SevenZKind::kLink, 0777, 1600000000, 250000000,
                     target.size(), "", -1, target});
  expected["Ünïcödé/link"] = {false, static_cast<std::int64_t>(target.size()), Crc(target), true};
  extracted["Ünïcödé/link"] = {false, 0, Crc("")};
  platform::Utf8Names utf8;  // libarchive reads the names beyond ASCII through the locale
  for (unsigned threads : {1u, 5u}) {
    SCOPED_TRACE(threads);
    std::string archive = "t" + std::to_string(threads) + ".7z", error;
    ASSERT_TRUE(archive::WriteSevenZ(archive, entries, {true, threads, ""}, &error)) << error;
    EXPECT_EQ(ListArchive(archive), expected);
    EXPECT_EQ(RunSevenZipProgram(dir(), "t " + archive), 0);
    EXPECT_LT(fs::file_size(archive), 3100000u);  // the copies of noise are packed once
    ASSERT_EQ(RunSevenZipProgram(dir(), "x " + archive + " -snl -oout" + archive), 0);
    EXPECT_EQ(ListTree("out" + archive), extracted);
    for (const archive::PackEntry& entry : entries) {
      SCOPED_TRACE(entry.name);
      const unsigned mode = entry.kind == archive::SevenZKind::kFolder ? S_IFDIR | 0755
                            : entry.link_target.empty()                ? S_IFREG | 0644
                                                                       : S_IFLNK | 0777;
      struct stat st = Lstat("out" + archive + "/" + entry.name);
      EXPECT_EQ(st.st_mode, mode);
      if (entry.link_target.empty()) {
        EXPECT_EQ(st.st_mtime, entry.modified);
      }
    }
  }
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
  ASSERT_EQ(RunSevenZipProgram(dir(), "x a.7z -oout"), 0);
  EXPECT_EQ(Lstat("out/keep.txt").st_mtime, 1400000000);
  // No scratch or temporary file is left beside it.
  std::size_t beside = 0;
  for (const auto& entry : fs::directory_iterator(dir()))
    beside += entry.path().filename().string().rfind("a.7z", 0) == 0;
  EXPECT_EQ(beside, 1u);
}

}  // namespace
}  // namespace oxlip::test

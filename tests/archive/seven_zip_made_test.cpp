// Archives as other programs make them, made by them at test time: by the 7-Zip program, zip
// methods libzip cannot read, names that are not ASCII read and written in the "C" locale,
// entries without a name; by libarchive, zips with a data descriptor.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "archive_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class SevenZipMade : public InTempFolder {
 protected:
  void SetUp() override {
    if (!HaveSevenZipProgram()) GTEST_SKIP() << "7zz is not installed";
    // More than a 64 KiB window of text, and a block repeated further back than deflate reaches.
    WriteFile(dir() + "src/big.txt", Text(300000));
    const std::string far = Noise(50000);
    WriteFile(dir() + "src/far.bin", far + far + far);
    WriteFile(dir() + "src/mod/A.class", "tiny");
    WriteFile(dir() + "src/empty.txt", "");
    std::filesystem::create_directories(dir() + "src/assets/none");
    expected = ListTree("src");
  }
  // Packs src with the program's `switches` into `archive` and unpacks it.
  void Check(const std::string& switches, const std::string& archive, bool stored = false) {
    SCOPED_TRACE(switches);
    ASSERT_EQ(RunSevenZipProgram(dir() + "src", "a " + switches + " ../" + archive + " *"), 0);
    Unpack(archive, stored);
  }
  // Unpacks `archive` whole with ours, then damaged (unless stored), which must fail and leave
  // no file that is not whole.
  void Unpack(const std::string& archive, bool stored = false) {
    ASSERT_EQ(ExtractTo(archive, "out-" + archive), 0);
    EXPECT_EQ(ListTree("out-" + archive), expected);
    if (stored) return;  // nothing checks stored bytes but CRCs
    const std::string good = ReadFile(archive);
    Damage(archive);
    EXPECT_NE(ExtractTo(archive, "bad-" + archive), 0);
    for (const auto& [name, item] : ListTree("bad-" + archive)) EXPECT_EQ(item, expected[name]);
    WriteFile(archive, good);
  }
  Listing expected;
};

TEST_F(SevenZipMade, ZipMethodsLibzipCannotRead) {
  const std::pair<const char*, int> kMethods[] = {
      {"Deflate64", 9}, {"LZMA", 14}, {"PPMd", 98}, {"XZ", 95}, {"BZip2", 12}};
  for (const auto& [method, code] : kMethods) {
    std::string zip = std::string("m-") + method + ".zip";
    Check(std::string("-tzip -mm=") + method, zip);
    EXPECT_EQ(ZipMethods(zip)["big.txt"], code) << method;
  }
  // Changing such a jar copies its entries as they are.
  WriteFile("more/new.class", "n");
  ASSERT_EQ(RunArchiver("a \"..\\m-Deflate64.zip\" new.class -mx9", "more"), 0);
  ASSERT_EQ(ExtractTo("m-Deflate64.zip", "again"), 0);
  expected["new.class"] = {false, 1, Crc("n")};
  EXPECT_EQ(ListTree("again"), expected);
}

// Each coder chain the 7-Zip program writes on request, solid or a folder per file.
TEST_F(SevenZipMade, SevenZMethodsAndDamage) {
  // PPMd with a model small enough to fill up: it restarts and glues its free blocks.
  const char* kSwitches[] = {"-m0=Copy",     "-m0=LZMA", "-m0=LZMA2",
                             "-m0=BZip2",    "-m0=PPMd", "-m0=PPMd:mem=64k:o=16",
                             "-m0=PPMd:o=2", "-ms=off",  "-mf=BCJ -m0=LZMA",
                             "-m0=Deflate"};
  for (std::size_t m = 0; m < std::size(kSwitches); ++m)
    Check(std::string("-t7z ") + kSwitches[m], "m" + std::to_string(m) + ".7z", m == 0);
}

class CLocale {
 public:
  CLocale() : previous_(std::setlocale(LC_ALL, nullptr)) { std::setlocale(LC_ALL, "C"); }
  ~CLocale() { std::setlocale(LC_ALL, previous_.c_str()); }

 private:
  std::string previous_;
};

TEST_F(SevenZipMade, NamesBeyondAsciiInTheCLocale) {
  CLocale c_locale;
  std::filesystem::remove_all("src");
  for (const char* root : {"src/", "more/"}) {
    WriteFile(dir() + root + "Ünïcödé/файл.txt", "f");
    WriteFile(dir() + root + "日本語.txt", "j");
  }
  WriteFile("more/Ärger.txt", "a");
  expected = ListTree("src");
  Check("", "n.7z", true);
  Check("-tzip", "n.zip", true);

  // Written by us, read by the program: a new archive, then entries added and deleted.
  ASSERT_EQ(RunArchiver("a \"..\\ours.7z\" * -r", "src"), 0);
  ASSERT_EQ(RunArchiver("u \"..\\ours.7z\" Ärger.txt", dir() + "more"), 0);
  ASSERT_EQ(RunArchiver("d \"ours.7z\" 日本語.txt"), 0);
  ASSERT_EQ(RunSevenZipProgram(dir(), "x ours.7z -otheirs"), 0);
  expected.erase("日本語.txt");
  expected["Ärger.txt"] = {false, 1, Crc("a")};
  EXPECT_EQ(ListTree("theirs"), expected);
}

// Nameless entries name nothing to write: they are passed over (the program writes a
// nameless entry under the archive's own name; here it is not written, as a mod's nameless entry
// is nothing the game can use).
TEST_F(SevenZipMade, NamelessEntriesAreSkipped) {
  std::filesystem::remove_all("src");
  WriteFile("src/keep.txt", "k");
  WriteFile("src/pipe.txt", "piped");
  for (const char* type : {"7z", "zip"}) {
    std::string archive = std::string("piped.") + type, kind = std::string(" -t") + type;
    ASSERT_EQ(RunSevenZipProgram(dir() + "src", "a" + kind + " -si ../" + archive + " <pipe.txt"),
              0);
    ASSERT_EQ(RunSevenZipProgram(dir() + "src", "a" + kind + " ../" + archive + " keep.txt"), 0);
    ASSERT_EQ(ExtractTo(archive, "out-" + archive), 0);
    EXPECT_EQ(ListTree("out-" + archive), (Listing{{"keep.txt", {false, 1, Crc("k")}}}));
  }
}

// Zips as libarchive's writers make them (bsdtar, CMake's "tar --format=zip"): the size stands in
// a local header that also has a data descriptor. The 7-Zip program opens them, so must we.
TEST_F(SevenZipMade, ZipsOfBsdtarAndCMake) {
  for (const char* command :
       {"bsdtar --format=zip -cf ../bsdtar.zip", "cmake -E tar cf ../cmake.zip --format=zip"}) {
    SCOPED_TRACE(command);
    ASSERT_EQ(std::system(("cd src && " + std::string(command) + " *").c_str()), 0);
    Unpack(command[0] == 'b' ? "bsdtar.zip" : "cmake.zip");
  }
}

}  // namespace
}  // namespace oxlip::test

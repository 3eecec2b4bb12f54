// Archives as the 7-Zip program makes them on request, made by it at test time: zip methods
// libzip cannot read, names that are not ASCII read and written in the "C" locale, entries
// without a name.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class SevenZipMade : public InTempFolder {
 protected:
  void SetUp() override {
    if (!HaveSevenZipProgram()) GTEST_SKIP() << "7zz is not installed";
  }
};

std::string Words(std::size_t size) {
  static const char* kWords[] = {"block ", "creeper ", "redstone ", "torch ", "pickaxe "};
  std::string text;
  std::uint32_t x = 7;
  while (text.size() < size) {
    x = x * 1103515245 + 12345;
    text += kWords[(x >> 16) % 5];
  }
  return text;
}

std::string Noise(std::size_t size) {
  std::string data;
  std::uint32_t x = 99;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1664525 + 1013904223;
    data += static_cast<char>(x >> 24);
  }
  return data;
}

// More than a 64 KiB window of text, and a block repeated further back than deflate reaches.
void ModFiles(const std::string& root) {
  WriteFile(root + "big.txt", Words(300000));
  std::string far = Noise(50000);
  WriteFile(root + "far.bin", far + far + far);
  WriteFile(root + "mod/A.class", "tiny");
  WriteFile(root + "empty.txt", "");
  std::filesystem::create_directories(root + "assets/none");
}

TEST_F(SevenZipMade, ZipMethodsLibzipCannotRead) {
  ModFiles(dir() + "src/");
  Listing expected = ListTree("src");
  const std::pair<const char*, int> kMethods[] = {
      {"Deflate64", 9}, {"LZMA", 14}, {"PPMd", 98}, {"XZ", 95}, {"BZip2", 12}};
  for (const auto& [method, code] : kMethods) {
    SCOPED_TRACE(method);
    std::string zip = std::string("m-") + method + ".zip", out = std::string("out-") + method;
    ASSERT_EQ(RunSevenZipProgram(dir() + "src",
                                 std::string("a -tzip -mm=") + method + " ../" + zip + " *"),
              0);
    ASSERT_EQ(ZipMethods(zip)["big.txt"], code);
    ASSERT_EQ(RunArchiver("x " + zip + " -aoa -o\"" + out + "\\\""), 0);
    EXPECT_EQ(ListTree(out), expected);
  }
  // Changing such a jar copies its entries as they are.
  WriteFile("more/new.class", "n");
  ASSERT_EQ(RunArchiver("a \"..\\m-Deflate64.zip\" new.class -mx9", "more"), 0);
  ASSERT_EQ(RunArchiver("x m-Deflate64.zip -aoa -o\"again\\\""), 0);
  expected["new.class"] = {false, 1, Crc("n")};
  EXPECT_EQ(ListTree("again"), expected);
}

// Each coder chain the 7-Zip program writes on request, solid or a folder per file; a byte
// changed in the middle of the packed data is an error.
TEST_F(SevenZipMade, SevenZMethodsAndDamage) {
  ModFiles(dir() + "src/");
  Listing expected = ListTree("src");
  const char* kSwitches[] = {"-m0=LZMA", "-m0=LZMA2", "-m0=BZip2",        "-m0=PPMd",
                             "-m0=Copy", "-ms=off",   "-mf=BCJ -m0=LZMA", "-m0=Deflate"};
  for (std::size_t m = 0; m < std::size(kSwitches); ++m) {
    SCOPED_TRACE(kSwitches[m]);
    std::string archive = "m" + std::to_string(m) + ".7z", out = "out" + std::to_string(m);
    ASSERT_EQ(RunSevenZipProgram(dir() + "src",
                                 std::string("a -t7z ") + kSwitches[m] + " ../" + archive + " *"),
              0);
    ASSERT_EQ(RunArchiver("x " + archive + " -aoa -o\"" + out + "\\\""), 0);
    EXPECT_EQ(ListTree(out), expected);
    if (std::string(kSwitches[m]) == "-m0=Copy") continue;  // nothing checks stored bytes but CRCs
    std::string bytes = ReadFile(archive);
    bytes[bytes.size() / 3] ^= 0x20;
    WriteFile(archive, bytes);
    EXPECT_NE(RunArchiver("x " + archive + " -aoa -o\"bad" + out + "\\\""), 0);
  }
}

TEST_F(SevenZipMade, DamagedDeflate64DataLeavesNoFile) {
  WriteFile("src/far.bin", Noise(50000) + Noise(50000));
  ASSERT_EQ(RunSevenZipProgram(dir() + "src", "a -tzip -mm=Deflate64 ../d.zip far.bin"), 0);
  std::string bytes = ReadFile("d.zip");
  bytes[bytes.size() / 3] ^= 0x20;
  WriteFile("d.zip", bytes);
  EXPECT_NE(RunArchiver("x d.zip -aoa -o\"out\\\""), 0);
  EXPECT_TRUE(ListTree("out").empty());
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
  for (const char* root : {"src/", "more/"}) {
    WriteFile(dir() + root + "Ünïcödé/файл.txt", "f");
    WriteFile(dir() + root + "日本語.txt", "j");
  }
  WriteFile("src/plain.txt", "p");
  WriteFile("more/Ärger.txt", "a");
  Listing expected = ListTree("src");
  ASSERT_EQ(RunSevenZipProgram(dir() + "src", "a ../n.7z *"), 0);
  ASSERT_EQ(RunSevenZipProgram(dir() + "src", "a -tzip ../n.zip *"), 0);
  ASSERT_EQ(RunArchiver("x n.7z -aoa -o\"out7z\\\""), 0);
  ASSERT_EQ(RunArchiver("x n.zip -aoa -o\"outzip\\\""), 0);
  EXPECT_EQ(ListTree("out7z"), expected);
  EXPECT_EQ(ListTree("outzip"), expected);

  // Written by us, read by the program: a new archive, then entries added and deleted.
  ASSERT_EQ(RunArchiver("a \"..\\ours.7z\" * -r", "src"), 0);
  ASSERT_EQ(RunArchiver("u \"..\\ours.7z\" Ärger.txt", dir() + "more"), 0);
  ASSERT_EQ(RunArchiver("d \"ours.7z\" 日本語.txt"), 0);
  ASSERT_EQ(RunSevenZipProgram(dir(), "x ours.7z -otheirs"), 0);
  expected.erase("日本語.txt");
  expected["Ärger.txt"] = {false, 1, Crc("a")};
  EXPECT_EQ(ListTree("theirs"), expected);
}

// "./" and nameless entries name nothing to write: they are passed over (the program writes a
// nameless entry under the archive's own name; here it is not written, as a mod's nameless entry
// is nothing the game can use). Names that leave the folder still refuse the whole archive.
TEST_F(SevenZipMade, NamelessEntriesAreSkipped) {
  WriteFile("src/keep.txt", "k");
  WriteFile("src/pipe.txt", "piped");
  for (const char* kind : {"-t7z", "-tzip"}) {
    std::string archive = std::string("piped.") + (kind[2] == 'z' ? "zip" : "7z");
    ASSERT_EQ(RunSevenZipProgram(dir() + "src",
                                 std::string("a ") + kind + " -si ../" + archive + " <pipe.txt"),
              0);
    ASSERT_EQ(RunSevenZipProgram(dir() + "src",
                                 std::string("a ") + kind + " ../" + archive + " keep.txt"),
              0);
    ASSERT_EQ(RunArchiver("x " + archive + " -aoa -o\"out-" + archive + "\\\""), 0);
    EXPECT_EQ(ListTree("out-" + archive), (Listing{{"keep.txt", {false, 1, Crc("k")}}}));
  }
  if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
  std::string code =
      "import zipfile\n"
      "def make(name, entries):\n"
      "    with zipfile.ZipFile(name, 'w') as z:\n"
      "        for entry, data in entries:\n"
      "            z.writestr(zipfile.ZipInfo(entry), data)\n"
      "make('dots.zip', [('./', ''), ('', 'noname'), ('./sub/x.txt', 'x'), ('ok.txt', 'ok')])\n"
      "make('up.zip', [('./', ''), ('ok.txt', 'ok'), ('../evil.txt', 'e')])\n"
      "make('root.zip', [('./', ''), ('ok.txt', 'ok'), ('/evil.txt', 'e')])\n"
      "make('drive.zip', [('./', ''), ('ok.txt', 'ok'), ('C:\\\\evil.txt', 'e')])\n";
  ASSERT_EQ(RunPython(dir(), code), 0);
  ASSERT_EQ(RunArchiver("x dots.zip -aoa -o\"dots\\\""), 0);
  EXPECT_EQ(ListTree("dots"), (Listing{{"sub", {true, 0, 0}},
                                       {"sub/x.txt", {false, 1, Crc("x")}},
                                       {"ok.txt", {false, 2, Crc("ok")}}}));
  for (const char* hostile : {"up.zip", "root.zip", "drive.zip"}) {
    EXPECT_NE(RunArchiver(std::string("x ") + hostile + " -aoa -o\"refused\\\""), 0) << hostile;
    EXPECT_TRUE(ListTree("refused").empty()) << hostile;
  }
  EXPECT_FALSE(platform::Exists("evil.txt"));
}

}  // namespace
}  // namespace oxlip::test

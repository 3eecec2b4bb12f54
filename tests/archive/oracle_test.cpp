// Every command line the program issues, run through the archiver and through the 7-Zip
// program (in its Linux spelling) on the same input: the results must be equal.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

using MakeInput = std::function<void(const std::string& root)>;

class Oracle : public InTempFolder {
 protected:
  void SetUp() override {
    if (!HaveSevenZipProgram()) GTEST_SKIP() << "7zz is not installed";
  }
  std::string Ours() { return dir() + "ours/"; }
  std::string Theirs() { return dir() + "theirs/"; }

  // Builds the same input in both roots.
  void Build(const MakeInput& setup) {
    std::filesystem::create_directories(Ours());
    std::filesystem::create_directories(Theirs());
    setup(Ours());
    setup(Theirs());
  }
  // Runs each side in its folder below its root.
  void RunBoth(const std::string& folder, const std::string& our_line,
               const std::string& their_args) {
    EXPECT_EQ(RunArchiver(our_line, Ours() + folder), 0) << our_line;
    EXPECT_EQ(RunSevenZipProgram(Theirs() + folder, their_args + " -ssc-"), 0) << their_args;
  }
  void ExpectSameTree(const std::string& folder) {
    Listing ours = ListTree(Ours() + folder);
    EXPECT_FALSE(ours.empty());
    EXPECT_EQ(ours, ListTree(Theirs() + folder));
  }
};

const std::vector<FakeEntry> kJar = {
    {"META-INF/", ""},
    {"META-INF/MANIFEST.MF", "Manifest-Version: 1.0\n"},
    {"net/minecraft/client/Minecraft.class", "Minecraft Minecraft 1.2.5", true},
    {"net/minecraft/client/Other.class", std::string(5000, 'o')},
    {"lib/meta-inf/inner.sf", "signature"},
    {"empty/", ""},
    {"terrain.png", std::string(300, 't')},
};

// With an old file in the work folder, for "-aoa" to overwrite.
void JarAt(const std::string& root) {
  MakeZip(root + "minecraft.jar", kJar);
  WriteFile(root + "patch/terrain.png", "old");
}

TEST_F(Oracle, MainClassOfAJar) {
  Build(JarAt);
  RunBoth("",
          "e \"" + Ours() + "minecraft.jar\" net\\minecraft\\client\\Minecraft.class -o\"" +
              Ours() + "cache\\\" -aoa -hide",
          "e minecraft.jar net/minecraft/client/Minecraft.class -ocache -aoa");
  ExpectSameTree("cache");
}

TEST_F(Oracle, NativesLzmaAndNativesJar) {
  // One jar for both sides: its entries carry the time they were made, and the unpacked jar
  // itself is compared.
  MakeZip(dir() + "natives.zip", {{"META-INF/MANIFEST.MF", "m"},
                                  {"liblwjgl.so", std::string(9000, 'l')},
                                  {"sub/Meta-Inf/x.sf", "x"},
                                  {"sub/keep.so", "k"}});
  const std::string natives = ReadFile(dir() + "natives.zip");
  auto setup = [&natives](const std::string& root) {
    std::string jar = root + "bin/windows_natives.jar";
    WriteFile(root + "bin/x", "");
    MakeLzma(jar + ".lzma", natives);
    platform::DeleteFile(root + "bin/x");
  };
  Build(setup);
  RunBoth("bin", "x windows_natives.jar.lzma -aoa -hide -xr!meta-inf",
          "x windows_natives.jar.lzma -aoa -xr!meta-inf");
  ExpectSameTree("bin");
  RunBoth("bin", "x -tzip windows_natives.jar -aoa -onatives -hide -xr!meta-inf",
          "x -tzip windows_natives.jar -aoa -onatives -xr!meta-inf");
  ExpectSameTree("bin/natives");
}

TEST_F(Oracle, WholeJarIntoTheWorkFolder) {
  Build(JarAt);
  RunBoth("", "x \"" + Ours() + "minecraft.jar\" -hide -aoa -o\"" + Ours() + "patch\\\"",
          "x minecraft.jar -aoa -opatch");
  ExpectSameTree("patch");
}

TEST_F(Oracle, ModArchivesIntoStagingFolders) {
  auto setup = [](const std::string& root) {
    std::vector<FakeEntry> mod = {{"mod/A.class", "aaa"},
                                  {"empty/", ""},
                                  {"readme.txt", "r"},
                                  {"META-INF/X.SF", "x"},
                                  {"deep/meta-inf/y", "y"}};
    MakeZip(root + "mod.zip", mod);
    MakeSevenZ(root + "minecraftjar.7z", mod);
  };
  Build(setup);
  RunBoth("", "x \"" + Ours() + "mod.zip\" * -o\"" + Ours() + "cache\\unzipped\\\" -aoa -hide",
          "x mod.zip * -ocache/unzipped -aoa");
  ExpectSameTree("cache/unzipped");
  RunBoth(
      "",
      "x \"" + Ours() + "minecraftjar.7z\" * -o\"" + Ours() + "cache\\minecraftjar\\\" -aoa -hide",
      "x minecraftjar.7z * -ocache/minecraftjar -aoa");
  ExpectSameTree("cache/minecraftjar");
  // The stamping unpacks without "-hide" and without meta-inf at any depth.
  RunBoth("", "x \"" + Ours() + "mod.zip\" -aoa -o\"" + Ours() + "Temp\\\" -xr!meta-inf",
          "x mod.zip -aoa -oTemp -xr!meta-inf");
  ExpectSameTree("Temp");
}

void Workspace(const std::string& root) {
  WriteFile(root + "inst/settings.ini", "s");
  WriteFile(root + "inst/backup/old.7z", "old backup");
  WriteFile(root + "inst/.minecraft/saves/w/backup/level.dat", "lv");
  WriteFile(root + "inst/.minecraft/bin/minecraft.jar", std::string(20000, 'j'));
  platform::CreateFolder(root + "inst/.minecraft/empty");
}

TEST_F(Oracle, ModPackingAndBackupsInto7z) {
  Build(Workspace);
  RunBoth("inst/.minecraft", "a \"" + Ours() + "mod\\minecraftjar.7z\" * -r -mx9",
          "a ../../mod/minecraftjar.7z * -r -mx9");
  EXPECT_EQ(ListSevenZ(Ours() + "mod/minecraftjar.7z"),
            ListSevenZ(Theirs() + "mod/minecraftjar.7z"));
  // Our "-x!" is top-level only: the program's "-xr-!".
  RunBoth("inst", "a \"backup\\1000 - inst.7z\" * -r -mx9 -x!backup",
          "a \"backup/1000 - inst.7z\" * -r -mx9 -xr-!backup");
  Listing ours = ListSevenZ(Ours() + "inst/backup/1000 - inst.7z");
  EXPECT_EQ(ours.count(".minecraft/saves/w/backup/level.dat"), 1u);
  EXPECT_EQ(ours, ListSevenZ(Theirs() + "inst/backup/1000 - inst.7z"));
}

void GameJarAndStaging(const std::string& root) {
  std::vector<FakeEntry> jar = kJar;
  jar.push_back({"B.class", "old b"});
  MakeZip(root + "minecraft.jar", jar);
  WriteFile(root + "minecraftjar/B.class", "new b");
  WriteFile(root + "minecraftjar/mod/C.class", std::string(3000, 'c'));
  WriteFile(root + "minecraftjar/meta-inf/MOD.SF", "mod signature");
  WriteFile(root + "minecraftjar/mod/meta-inf/kept", "nested");
}

// The program has no "folder\ means its contents" rule: the same is "*" inside the folder.
TEST_F(Oracle, JarPatchThenMetaInfRemoval) {
  Build(GameJarAndStaging);
  RunBoth("minecraftjar",
          "a \"" + Ours() + "minecraft.jar\" \"" + Ours() + "minecraftjar\\\" -r -mx9 -x!meta-inf",
          "a -tzip ../minecraft.jar * -r -mx9 -xr-!meta-inf");
  Listing ours = ListZip(Ours() + "minecraft.jar");
  EXPECT_EQ(ours.count("mod/meta-inf/kept"), 1u);
  EXPECT_EQ(ours, ListZip(Theirs() + "minecraft.jar"));
  // Entries of the old jar are copied as they were: a stored one is not packed again.
  const char* stored = "net/minecraft/client/Minecraft.class";
  EXPECT_EQ(ZipMethods(Ours() + "minecraft.jar")[stored],
            ZipMethods(Theirs() + "minecraft.jar")[stored]);
  RunBoth("", "d \"" + Ours() + "minecraft.jar\" META-INF ", "d minecraft.jar META-INF");
  EXPECT_EQ(ListZip(Ours() + "minecraft.jar"), ListZip(Theirs() + "minecraft.jar"));
}

// Folders named in the list are left out here: the program packs a named folder with all its
// contents, while the downgrade wants exactly the listed names (see the update tests).
TEST_F(Oracle, DowngradeListIntoANewJar) {
  auto setup = [](const std::string& root) {
    WriteFile(root + "patch/net/minecraft/client/Minecraft.class", "older");
    WriteFile(root + "patch/net/minecraft/client/Unlisted.class", "stays out");
    WriteFile(root + "patch/terrain.png", "t");
  };
  Build(setup);
  WriteFile(Ours() + "patch/__gpi_filelist.txt",
            "net\\minecraft\\client\\Minecraft.class\r\nterrain.png\r\n");
  WriteFile(Theirs() + "patch/__gpi_filelist.txt",
            "net/minecraft/client/Minecraft.class\nterrain.png\n");
  RunBoth("patch", "u \"" + Ours() + "old.jar\" -hide -tzip -mx9 @__gpi_filelist.txt",
          "u ../old.jar -tzip -mx9 @__gpi_filelist.txt");
  Listing ours = ListZip(Ours() + "old.jar");
  Listing theirs = ListZip(Theirs() + "old.jar");
  // The program adds the folders of a path as entries; our jar names the files only.
  for (const char* folder : {"net", "net/minecraft", "net/minecraft/client"}) theirs.erase(folder);
  EXPECT_EQ(ours, theirs);
}

}  // namespace
}  // namespace oxlip::test

// Every command line the program issues, run through the archiver and through
// the 7-Zip program (in its Linux spelling) on the same input: the results must
// be equal.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Oracle : public InTempFolder {
 protected:
  void SetUp() override {
    if (!HaveSevenZipProgram()) GTEST_SKIP() << "7zz is not installed";
  }
  std::string Ours() { return dir() + "ours/"; }
  std::string Theirs() { return dir() + "theirs/"; }

  // Builds the same input in both roots.
  void Build(const std::function<void(const std::string& root)>& setup) {
    std::filesystem::create_directories(Ours());
    std::filesystem::create_directories(Theirs());
    setup(Ours());
    setup(Theirs());
  }
  // Runs each side in its folder below its root.
  void RunBoth(const std::string& folder, const std::string& our_line,
               const std::string& their_args) {
    EXPECT_EQ(RunArchiver(our_line, Ours() + folder), 0) << our_line;
    // Names are matched as on Windows, without regard to case, unless the line
    // says otherwise.
    std::string args =
        their_args.find("-ssc") == std::string::npos ? their_args + " -ssc-" : their_args;
    EXPECT_EQ(RunSevenZipProgram(Theirs() + folder, args), 0) << their_args;
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

// Every unpacking line, in turn on one input: the game jar with an old file in
// the work folder (for "-aoa" to overwrite), a mod as zip and as 7z, the
// natives packed with LZMA.
TEST_F(Oracle, Extractions) {
  // One natives jar for both sides: its entries carry the time they were made,
  // and the unpacked jar itself is compared.
  MakeZip(dir() + "natives.zip", {{"META-INF/MANIFEST.MF", "m"},
                                  {"liblwjgl.so", std::string(9000, 'l')},
                                  {"sub/Meta-Inf/x.sf", "x"},
                                  {"sub/keep.so", "k"}});
  const std::string natives = ReadFile(dir() + "natives.zip");
  Build([&natives](const std::string& root) {
    MakeZip(root + "minecraft.jar", kJar);
    WriteFile(root + "patch/terrain.png", "old");
    const std::vector<FakeEntry> mod = {{"mod/A.class", "aaa"},
                                        {"empty/", ""},
                                        {"readme.txt", "r"},
                                        {"META-INF/X.SF", "x"},
                                        {"deep/meta-inf/y", "y"}};
    MakeZip(root + "mod.zip", mod);
    MakeSevenZ(root + "minecraftjar.7z", mod);
    MakeZip(root + "source.jar", {{"a.txt", "new"}, {"b.txt", "b"}});
    WriteFile(root + "out/a.txt", "old");
    std::filesystem::create_directories(root + "bin");
    MakeLzma(root + "bin/windows_natives.jar.lzma", natives);
  });
  const struct {
    const char *folder, *ours, *theirs, *compared;  // "%" in ours: our root
  } cases[] = {
      {"", R"(e "%minecraft.jar" net\minecraft\client\Minecraft.class -o"%cache\" -aoa -hide)",
       "e minecraft.jar net/minecraft/client/Minecraft.class -ocache -aoa", "cache"},
      {"", R"(x "%minecraft.jar" -hide -aoa -o"%patch\")", "x minecraft.jar -aoa -opatch", "patch"},
      {"", R"(x "%mod.zip" * -o"%cache\unzipped\" -aoa -hide)", "x mod.zip * -ocache/unzipped -aoa",
       "cache/unzipped"},
      {"", R"(x "%minecraftjar.7z" * -o"%cache\minecraftjar\" -aoa -hide)",
       "x minecraftjar.7z * -ocache/minecraftjar -aoa", "cache/minecraftjar"},
      // The stamping unpacks without "-hide" and without meta-inf at any depth.
      {"", R"(x "%mod.zip" -aoa -o"%Temp\" -xr!meta-inf)", "x mod.zip -aoa -oTemp -xr!meta-inf",
       "Temp"},
      // Without "-aoa" a file already there stays (the program would ask;
      // "-aos" says so).
      {"", R"(x source.jar -o"out\")", "x source.jar -oout -aos", "out"},
      {"bin", "x windows_natives.jar.lzma -aoa -hide -xr!meta-inf",
       "x windows_natives.jar.lzma -aoa -xr!meta-inf", "bin"},
      {"bin", "x -tzip windows_natives.jar -aoa -onatives -hide -xr!meta-inf",
       "x -tzip windows_natives.jar -aoa -onatives -xr!meta-inf", "bin/natives"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ours);
    std::string ours = c.ours;
    for (std::size_t at; (at = ours.find('%')) != std::string::npos;) ours.replace(at, 1, Ours());
    RunBoth(c.folder, ours, c.theirs);
    ExpectSameTree(c.compared);
  }
  EXPECT_EQ(ReadFile(Ours() + "out/a.txt"), "old");
}

void Workspace(const std::string& root) {
  WriteFile(root + "inst/settings.ini", "s");
  WriteFile(root + "inst/backup/old.7z", "old backup");
  WriteFile(root + "inst/.minecraft/saves/w/backup/level.dat", "lv");
  // Names that differ only in letter case are two files on disk, so two entries.
  WriteFile(root + "inst/.minecraft/saves/w/level.dat", "level");
  WriteFile(root + "inst/.minecraft/saves/w/Level.dat", "other");
  WriteFile(root + "inst/.minecraft/bin/minecraft.jar", std::string(20000, 'j'));
  platform::CreateFolder(root + "inst/.minecraft/empty");
}

TEST_F(Oracle, ModPackingAndBackupsInto7z) {
  Build(Workspace);
  RunBoth("inst/.minecraft", "a \"" + Ours() + "mod\\minecraftjar.7z\" * -r -mx9",
          "a ../../mod/minecraftjar.7z * -r -mx9 -ssc");
  EXPECT_EQ(ListArchive(Ours() + "mod/minecraftjar.7z"),
            ListArchive(Theirs() + "mod/minecraftjar.7z"));
  // Our "-x!" is top-level only: the program's "-xr-!".
  RunBoth("inst", "a \"backup\\1000 - inst.7z\" * -r -mx9 -x!backup",
          "a \"backup/1000 - inst.7z\" * -r -mx9 -xr-!backup -ssc");
  Listing ours = ListArchive(Ours() + "inst/backup/1000 - inst.7z");
  EXPECT_EQ(ours.count(".minecraft/saves/w/backup/level.dat") +
                ours.count(".minecraft/saves/w/level.dat") +
                ours.count(".minecraft/saves/w/Level.dat"),
            3u);
  EXPECT_EQ(ours, ListArchive(Theirs() + "inst/backup/1000 - inst.7z"));
}

void GameJarAndStaging(const std::string& root) {
  std::vector<FakeEntry> jar = kJar;
  jar.push_back({"B.class", "old b"});
  jar.push_back({"c.class", "old c"});
  MakeZip(root + "minecraft.jar", jar);
  // Java tells classes by their exact names: "b.class" is another class than "B.class".
  WriteFile(root + "minecraftjar/b.class", "new b");
  WriteFile(root + "minecraftjar/c.class", "new c");
  WriteFile(root + "minecraftjar/mod/C.class", std::string(3000, 'c'));
  WriteFile(root + "minecraftjar/meta-inf/MOD.SF", "mod signature");
  WriteFile(root + "minecraftjar/mod/meta-inf/kept", "nested");
}

// The program has no "folder\ means its contents" rule: the same is "*" inside
// the folder.
TEST_F(Oracle, JarPatchThenMetaInfRemoval) {
  Build(GameJarAndStaging);
  RunBoth("minecraftjar",
          "a \"" + Ours() + "minecraft.jar\" \"" + Ours() + "minecraftjar\\\" -r -mx9 -x!meta-inf",
          "a -tzip ../minecraft.jar * -r -mx9 -xr-!meta-inf -ssc");
  Listing ours = ListArchive(Ours() + "minecraft.jar");
  EXPECT_EQ(ours.count("mod/meta-inf/kept") + ours.count("B.class") + ours.count("b.class"), 3u);
  EXPECT_EQ(ours["c.class"].crc, Crc("new c"));
  EXPECT_EQ(ours, ListArchive(Theirs() + "minecraft.jar"));
  // Entries of the old jar are copied as they were: a stored one is not packed
  // again.
  const char* stored = "net/minecraft/client/Minecraft.class";
  EXPECT_EQ(ZipMethods(Ours() + "minecraft.jar")[stored],
            ZipMethods(Theirs() + "minecraft.jar")[stored]);
  RunBoth("", "d \"" + Ours() + "minecraft.jar\" META-INF ", "d minecraft.jar META-INF");
  EXPECT_EQ(ListArchive(Ours() + "minecraft.jar"), ListArchive(Theirs() + "minecraft.jar"));
}

// "u" replaces an entry only with a newer file, "a" always; deleting every
// entry leaves an empty archive; a new archive's format follows the type switch
// or the name.
TEST_F(Oracle, UpdateAddDeleteAndNewFormats) {
  Build([](const std::string& root) { WriteFile(root + "a.txt", "first"); });
  auto same_zip = [this](const std::string& name) {
    Listing ours = ListArchive(Ours() + name);
    EXPECT_EQ(ours, ListArchive(Theirs() + name)) << name;
    return ours;
  };
  RunBoth("", "u t.zip a.txt", "u t.zip a.txt");
  for (const std::string& root : {Ours(), Theirs()}) {
    WriteFile(root + "a.txt", "second");
    platform::SetFileDate(root + "a.txt", platform::FileDate(root + "a.txt") - 100);
  }
  RunBoth("", "u t.zip a.txt", "u t.zip a.txt");
  EXPECT_EQ(same_zip("t.zip")["a.txt"].crc, Crc("first"));
  RunBoth("", "a t.zip a.txt", "a t.zip a.txt");
  EXPECT_EQ(same_zip("t.zip")["a.txt"].crc, Crc("second"));
  RunBoth("", "a x.jar a.txt", "a x.jar a.txt");
  RunBoth("", "a -tzip y.7z a.txt", "a -tzip y.7z a.txt");
  EXPECT_EQ(same_zip("x.jar").size() + same_zip("y.7z").size(), 2u);
  RunBoth("", "d \"t.zip\" a.txt ", "d t.zip a.txt");
  EXPECT_TRUE(platform::IsFile(Ours() + "t.zip"));
  EXPECT_TRUE(same_zip("t.zip").empty());
  RunBoth("", "a z.7z a.txt", "a z.7z a.txt");
  RunBoth("", "d z.7z a.txt", "d z.7z a.txt");
  EXPECT_EQ(RunSevenZipProgram(Ours(), "t z.7z"), 0);
  EXPECT_TRUE(ListArchive(Ours() + "z.7z").empty());
}

// A folder named in our list is an entry of its own, without its contents (the program would
// pack all of them, so its list names the files only). Lines end in CR LF or LF, blank ones are
// skipped.
TEST_F(Oracle, DowngradeListIntoANewJar) {
  auto setup = [](const std::string& root) {
    WriteFile(root + "patch/net/minecraft/client/Minecraft.class", "older");
    WriteFile(root + "patch/net/minecraft/client/Unlisted.class", "stays out");
    WriteFile(root + "patch/terrain.png", "t");
  };
  Build(setup);
  WriteFile(Ours() + "patch/__gpi_filelist.txt",
            "net\\\r\n\r\nnet\\minecraft\\client\\Minecraft.class\nterrain.png");
  WriteFile(Theirs() + "patch/__gpi_filelist.txt",
            "net/minecraft/client/Minecraft.class\nterrain.png\n");
  RunBoth("patch", "u \"" + Ours() + "old.jar\" -hide -tzip -mx9 @__gpi_filelist.txt",
          "u ../old.jar -tzip -mx9 @__gpi_filelist.txt");
  Listing ours = ListArchive(Ours() + "old.jar");
  Listing theirs = ListArchive(Theirs() + "old.jar");
  theirs["net"] = {true, 0, 0};
  EXPECT_EQ(ours, theirs);
}

}  // namespace
}  // namespace oxlip::test

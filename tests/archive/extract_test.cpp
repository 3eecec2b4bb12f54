// The unpacking command lines the program issues, on real archives.
#include <gtest/gtest.h>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

const std::vector<FakeEntry> kJar = {
    {"META-INF/", ""},
    {"META-INF/MANIFEST.MF", "Manifest-Version: 1.0\n"},
    {"net/", ""},
    {"net/minecraft/", ""},
    {"net/minecraft/client/", ""},
    {"net/minecraft/client/Minecraft.class", "Minecraft Minecraft 1.2.5", true},
    {"net/minecraft/client/Other.class", std::string(5000, 'o')},
    {"lib/meta-inf/inner.sf", "signature"},
    {"terrain.png", std::string(300, 't')},
};

class Extract : public InTempFolder {};

TEST_F(Extract, MainClassWithoutItsPathIntoTheCacheFolder) {
  MakeZip("minecraft.jar", kJar);
  // The cache folder value uses "/" while the name inside the jar uses "\".
  ASSERT_EQ(
      RunArchiver("e \"" + dir() + "minecraft.jar\" net\\minecraft\\client\\Minecraft.class -o\"" +
                  dir() + "cache\\\" -aoa -hide"),
      0);
  EXPECT_EQ(ListTree(dir() + "cache"),
            (Listing{{"Minecraft.class", {false, 25, Crc("Minecraft Minecraft 1.2.5")}}}));
}

TEST_F(Extract, NamedEntryMissingFromTheJarIsAFailure) {
  MakeZip("minecraft.jar", {{"a.class", "a"}});
  EXPECT_NE(
      RunArchiver(
          "e \"minecraft.jar\" net\\minecraft\\client\\Minecraft.class -o\"cache\\\" -aoa -hide"),
      0);
  EXPECT_FALSE(platform::Exists("cache/Minecraft.class"));
}

TEST_F(Extract, NativesLzmaUnpacksToItsNameWithoutLzma) {
  std::string jar(70000, 'n');
  MakeLzma("windows_natives.jar.lzma", jar);
  ASSERT_EQ(RunArchiver("x windows_natives.jar.lzma -aoa -hide -xr!meta-inf"), 0);
  EXPECT_EQ(ReadFile("windows_natives.jar"), jar);
}

TEST_F(Extract, NativesJarIntoNativesWithoutMetaInfAtAnyDepth) {
  MakeZip("windows_natives.jar", {{"META-INF/MANIFEST.MF", "m"},
                                  {"lwjgl.so", "native"},
                                  {"sub/Meta-Inf/x.sf", "x"},
                                  {"sub/keep.so", "k"}});
  ASSERT_EQ(RunArchiver("x -tzip windows_natives.jar -aoa -onatives -hide -xr!meta-inf"), 0);
  EXPECT_EQ(ListTree("natives"), (Listing{{"lwjgl.so", {false, 6, Crc("native")}},
                                          {"sub", {true, 0, 0}},
                                          {"sub/keep.so", {false, 1, Crc("k")}}}));
}

TEST_F(Extract, TypeSwitchRefusesAnArchiveOfAnotherKind) {
  MakeSevenZ("windows_natives.jar", {{"a.so", "a"}});
  EXPECT_NE(RunArchiver("x -tzip windows_natives.jar -aoa -onatives -hide -xr!meta-inf"), 0);
}

TEST_F(Extract, WholeJarIntoTheWorkFolderOverwritingOldFiles) {
  MakeZip("source.jar", kJar);
  WriteFile("patch/terrain.png", "old");
  ASSERT_EQ(RunArchiver("x \"" + dir() + "source.jar\" -hide -aoa -o\"" + dir() + "patch\\\""), 0);
  Listing tree = ListTree("patch");
  EXPECT_EQ(tree.size(), 11u);
  EXPECT_EQ(tree["terrain.png"], (Item{false, 300, Crc(std::string(300, 't'))}));
  EXPECT_EQ(tree["lib/meta-inf/inner.sf"].size, 9);
}

TEST_F(Extract, WithoutOverwriteExistingFilesStay) {
  MakeZip("source.jar", {{"a.txt", "new"}});
  WriteFile("out/a.txt", "old");
  ASSERT_EQ(RunArchiver("x source.jar -o\"out\\\""), 0);
  EXPECT_EQ(ReadFile("out/a.txt"), "old");
}

// The mod import and the installation unpack zip or 7z archives alike, recognised by content.
TEST_F(Extract, ModArchiveIntoAStagingFolderTheArchiverCreates) {
  std::vector<FakeEntry> mod = {
      {"mod/", ""}, {"mod/A.class", "aaa"}, {"empty/", ""}, {"readme.txt", "r"}};
  MakeZip("mod.zip", mod);
  MakeSevenZ("minecraftjar.7z", mod);
  Listing expected = {{"mod", {true, 0, 0}},
                      {"mod/A.class", {false, 3, Crc("aaa")}},
                      {"empty", {true, 0, 0}},
                      {"readme.txt", {false, 1, Crc("r")}}};
  ASSERT_EQ(
      RunArchiver("x \"" + dir() + "mod.zip\" * -o\"" + dir() + "cache\\unzipped\\\" -aoa -hide"),
      0);
  EXPECT_EQ(ListTree("cache/unzipped"), expected);
  ASSERT_EQ(RunArchiver("x \"" + dir() + "minecraftjar.7z\" * -o\"" + dir() +
                        "cache\\minecraftjar\\\" -aoa -hide"),
            0);
  EXPECT_EQ(ListTree("cache/minecraftjar"), expected);
}

TEST_F(Extract, StampedModsWithoutMetaInfLaterOnesWinning) {
  MakeZip("first.zip", {{"META-INF/MOD.SF", "s"}, {"a.class", "first"}, {"b.class", "b"}});
  MakeSevenZ("second.7z", {{"a.class", "second"}, {"x/meta-inf/y", "y"}});
  std::string tail = "\" -aoa -o\"" + dir() + "Temp\\\" -xr!meta-inf";
  ASSERT_EQ(RunArchiver("x \"" + dir() + "first.zip" + tail), 0);
  ASSERT_EQ(RunArchiver("x \"" + dir() + "second.7z" + tail), 0);
  EXPECT_EQ(ListTree("Temp"),
            (Listing{{"a.class", {false, 6, Crc("second")}}, {"b.class", {false, 1, Crc("b")}}}));
}

TEST_F(Extract, MissingArchiveIsAFailure) {
  EXPECT_NE(RunArchiver("x \"absent.7z\" * -o\"out\\\" -aoa -hide"), 0);
  EXPECT_NE(RunArchiver("x \"\" -aoa"), 0);
}

}  // namespace
}  // namespace oxlip::test

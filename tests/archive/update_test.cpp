// The packing, patching and deleting command lines the program issues, on real archives.
#include <gtest/gtest.h>
#include <zip.h>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Update : public InTempFolder {
 protected:
  // Runs `line` with its relative paths below `folder`, as the callers do.
  int RunIn(const std::string& folder, const std::string& line) {
    return RunArchiver(line, folder);
  }
};

TEST_F(Update, ModWorkspaceIntoA7zWithRelativePathsAndEmptyFolders) {
  WriteFile("testmod/minecraft.jar/a.class", "aaa");
  WriteFile("testmod/minecraft.jar/net/b.class", "bb");
  platform::CreateFolder("testmod/minecraft.jar/empty");
  platform::CreateFolder("mods");
  platform::CreateFolder("mods/F - mod");
  ASSERT_EQ(
      RunIn("testmod/minecraft.jar", "a \"" + dir() + "mods/F - mod\\minecraftjar.7z\" * -r -mx9"),
      0);
  EXPECT_EQ(ListSevenZ("mods/F - mod/minecraftjar.7z"),
            (Listing{{"a.class", {false, 3, Crc("aaa")}},
                     {"empty", {true, 0, 0}},
                     {"net", {true, 0, 0}},
                     {"net/b.class", {false, 2, Crc("bb")}}}));
}

TEST_F(Update, InstanceBackupLeavesOutTheTopBackupFolderOnly) {
  WriteFile("inst/settings.ini", "s");
  WriteFile("inst/backup/old.7z", "old backup");
  WriteFile("inst/.minecraft/saves/w/backup/level.dat", "lv");
  ASSERT_EQ(RunIn("inst/", "a \"backup\\1000 - inst.7z\" * -r -mx9 -x!backup"), 0);
  EXPECT_EQ(ListSevenZ("inst/backup/1000 - inst.7z"),
            (Listing{{".minecraft", {true, 0, 0}},
                     {".minecraft/saves", {true, 0, 0}},
                     {".minecraft/saves/w", {true, 0, 0}},
                     {".minecraft/saves/w/backup", {true, 0, 0}},
                     {".minecraft/saves/w/backup/level.dat", {false, 2, Crc("lv")}},
                     {"settings.ini", {false, 1, Crc("s")}}}));
}

// Names that differ only in letter case are two files on disk, so two entries.
TEST_F(Update, WorldBackupCreatesTheMissingBackupFoldersAndKeepsEveryFile) {
  WriteFile("inst/.minecraft/saves/World/level.dat", "level");
  WriteFile("inst/.minecraft/saves/World/Level.dat", "other");
  ASSERT_EQ(RunIn("inst/.minecraft/saves/World",
                  "a \"" + dir() + "inst\\backup\\World\\77.7z\" * -r -mx9 -x!backup"),
            0);
  EXPECT_EQ(
      ListSevenZ("inst/backup/World/77.7z"),
      (Listing{{"Level.dat", {false, 5, Crc("other")}}, {"level.dat", {false, 5, Crc("level")}}}));
}

TEST_F(Update, AddingToAnExisting7zKeepsAndReplacesEntries) {
  MakeSevenZ("a.7z", {{"keep.txt", "keep"}, {"same.txt", "old"}, {"Case.txt", "other file"}});
  WriteFile("same.txt", "newer");
  WriteFile("case.txt", "new file");
  ASSERT_EQ(RunArchiver("a a.7z same.txt case.txt"), 0);
  EXPECT_EQ(ListSevenZ("a.7z"), (Listing{{"Case.txt", {false, 10, Crc("other file")}},
                                         {"case.txt", {false, 8, Crc("new file")}},
                                         {"keep.txt", {false, 4, Crc("keep")}},
                                         {"same.txt", {false, 5, Crc("newer")}}}));
}

const std::vector<FakeEntry> kGameJar = {
    {"META-INF/", ""},
    {"META-INF/MOJANG_C.SF", "signature"},
    {"a.class", std::string(4000, 'a'), true},
    {"B.class", "old b"},
    {"lib/META-INF/nested", "n"},
};

TEST_F(Update, JarPatchAddsStagingContentsAtTheRootAndCopiesTheRest) {
  MakeZip("minecraft.jar", kGameJar);
  WriteFile("cache/minecraftjar/b.class", "new b");
  WriteFile("cache/minecraftjar/mod/C.class", std::string(3000, 'c'));
  WriteFile("cache/minecraftjar/meta-inf/MOD.SF", "mod signature");
  ASSERT_EQ(RunArchiver("a \"" + dir() + "minecraft.jar\" \"" + dir() +
                        "cache\\minecraftjar\\\" -r -mx9 -x!meta-inf"),
            0);
  Listing listing = ListZip("minecraft.jar");
  EXPECT_EQ(listing.size(), 8u);
  // Java tells classes by their exact names: "b.class" is another class than "B.class".
  EXPECT_EQ(listing["B.class"].crc, Crc("old b"));
  EXPECT_EQ(listing["b.class"].crc, Crc("new b"));
  EXPECT_EQ(listing["mod/C.class"].size, 3000);
  EXPECT_EQ(listing.count("meta-inf/MOD.SF"), 0u);
  EXPECT_EQ(listing["META-INF/MOJANG_C.SF"].crc, Crc("signature"));
  std::map<std::string, int> methods = ZipMethods("minecraft.jar");
  EXPECT_EQ(methods["a.class"], ZIP_CM_STORE);  // copied as it was, not recompressed
  EXPECT_EQ(methods["mod/C.class"], ZIP_CM_DEFLATE);

  ASSERT_EQ(RunArchiver("d \"" + dir() + "minecraft.jar\" META-INF "), 0);
  listing = ListZip("minecraft.jar");
  EXPECT_EQ(listing.count("META-INF"), 0u);
  EXPECT_EQ(listing.count("META-INF/MOJANG_C.SF"), 0u);
  EXPECT_EQ(listing.count("lib/META-INF/nested"), 1u);
  EXPECT_EQ(listing.size(), 6u);
}

TEST_F(Update, DeletingEverythingLeavesAnEmptyArchive) {
  MakeZip("only.jar", {{"META-INF/MANIFEST.MF", "m"}});
  ASSERT_EQ(RunArchiver("d \"only.jar\" META-INF "), 0);
  EXPECT_TRUE(platform::IsFile("only.jar"));
  EXPECT_TRUE(ListZip("only.jar").empty());
}

TEST_F(Update, DowngradeListPacksExactlyTheListedNames) {
  WriteFile("patch/net/minecraft/client/Minecraft.class", "older");
  WriteFile("patch/net/minecraft/client/Unlisted.class", "stays out");
  WriteFile("patch/terrain.png", "t");
  WriteFile("patch/__gpi_filelist.txt",
            "net\\\r\nnet\\minecraft\\client\\Minecraft.class\r\nterrain.png\r\n");
  ASSERT_EQ(
      RunIn("patch", "u \"" + dir() + "versions\\old.jar\" -hide -tzip -mx9 @__gpi_filelist.txt"),
      0);
  Listing listing = ListZip("versions/old.jar");
  EXPECT_EQ(listing, (Listing{{"net", {true, 0, 0}},
                              {"net/minecraft/client/Minecraft.class", {false, 5, Crc("older")}},
                              {"terrain.png", {false, 1, Crc("t")}}}));
}

TEST_F(Update, UpdateReplacesOnlyWithNewerFiles) {
  WriteFile("a.txt", "first");
  ASSERT_EQ(RunArchiver("u t.zip a.txt"), 0);
  WriteFile("a.txt", "second");
  platform::SetFileDate("a.txt", platform::FileDate("a.txt") - 100);
  ASSERT_EQ(RunArchiver("u t.zip a.txt"), 0);
  EXPECT_EQ(ListZip("t.zip")["a.txt"].crc, Crc("first"));
  ASSERT_EQ(RunArchiver("a t.zip a.txt"), 0);
  EXPECT_EQ(ListZip("t.zip")["a.txt"].crc, Crc("second"));
}

// As a change into it would fail: the current folder never stands in for a missing one.
TEST_F(Update, AMissingFolderFailsAndNothingIsMadeBelowIt) {
  WriteFile("here.txt", "h");
  EXPECT_NE(RunIn("gone", "a \"backup\\x.7z\" * -r"), 0);
  EXPECT_NE(RunIn("gone", "x \"" + dir() + "any.zip\" -aoa"), 0);
  EXPECT_FALSE(platform::Exists("gone"));
  EXPECT_FALSE(platform::Exists("backup"));
}

TEST_F(Update, MissingArchiveOrNameIsAFailure) {
  EXPECT_NE(RunArchiver("d \"absent.jar\" META-INF "), 0);
  EXPECT_NE(RunArchiver("a \"new.zip\" absent.txt"), 0);
  EXPECT_FALSE(platform::Exists("new.zip"));
  EXPECT_NE(RunArchiver("a \"new.zip\" \"absent\\\" -r"), 0);
}

TEST_F(Update, NewArchiveFormatFollowsTypeOrName) {
  WriteFile("f.txt", "f");
  ASSERT_EQ(RunArchiver("a x.7z f.txt"), 0);
  ASSERT_EQ(RunArchiver("a x.jar f.txt"), 0);
  ASSERT_EQ(RunArchiver("a -tzip y.7z f.txt"), 0);
  EXPECT_EQ(ListSevenZ("x.7z").size(), 1u);
  EXPECT_EQ(ListZip("x.jar").size(), 1u);
  EXPECT_EQ(ListZip("y.7z").size(), 1u);
  // An existing archive keeps its format, whatever its name says.
  ASSERT_EQ(RunArchiver("a y.7z x.jar"), 0);
  EXPECT_EQ(ListZip("y.7z").size(), 2u);
}

}  // namespace
}  // namespace oxlip::test

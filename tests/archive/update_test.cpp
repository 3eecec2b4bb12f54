// What the packing, patching and deleting command lines do where the 7-Zip program cannot be
// the oracle: failures, letter case, the downgrade's folder names, "u" against "a".
#include <gtest/gtest.h>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Update : public InTempFolder {};

// As a change into it would fail: the current folder never stands in for a missing one.
TEST_F(Update, FailuresWriteNothing) {
  WriteFile("here.txt", "h");
  EXPECT_NE(RunArchiver("a \"backup\\x.7z\" * -r", "gone"), 0);
  EXPECT_NE(RunArchiver("x \"" + dir() + "any.zip\" -aoa", "gone"), 0);
  EXPECT_FALSE(platform::Exists("gone"));
  EXPECT_FALSE(platform::Exists("backup"));
  EXPECT_NE(RunArchiver("d \"absent.jar\" META-INF "), 0);
  EXPECT_NE(RunArchiver("a \"new.zip\" absent.txt"), 0);
  EXPECT_NE(RunArchiver("a \"new.zip\" \"absent\\\" -r"), 0);
  EXPECT_FALSE(platform::Exists("new.zip"));
}

// Names that differ only in letter case are two files on disk, so two entries (the program
// is run with -ssc-, which would merge them); a world backup makes its missing folders.
TEST_F(Update, NamesThatDifferInCaseAreTwoEntries) {
  WriteFile("World/level.dat", "level");
  WriteFile("World/Level.dat", "other");
  ASSERT_EQ(RunArchiver("a \"" + dir() + "backup\\World\\77.7z\" * -r -mx9 -x!backup", "World"), 0);
  EXPECT_EQ(ListSevenZ("backup/World/77.7z"), (Listing{{"Level.dat", {false, 5, Crc("other")}},
                                                       {"level.dat", {false, 5, Crc("level")}}}));
  // Java tells classes by their exact names: "b.class" is another class than "B.class".
  MakeZip("minecraft.jar", {{"B.class", "old b"}, {"a.class", "a"}});
  WriteFile("cache/minecraftjar/b.class", "new b");
  ASSERT_EQ(RunArchiver("a \"" + dir() + "minecraft.jar\" \"" + dir() +
                        "cache\\minecraftjar\\\" -r -mx9 -x!meta-inf"),
            0);
  EXPECT_EQ(ListZip("minecraft.jar"), (Listing{{"B.class", {false, 5, Crc("old b")}},
                                               {"a.class", {false, 1, Crc("a")}},
                                               {"b.class", {false, 5, Crc("new b")}}}));
}

// A listed folder is an entry of its own, without its contents.
TEST_F(Update, DowngradeListPacksExactlyTheListedNames) {
  WriteFile("patch/net/minecraft/client/Minecraft.class", "older");
  WriteFile("patch/net/minecraft/client/Unlisted.class", "stays out");
  WriteFile("patch/terrain.png", "t");
  WriteFile("patch/__gpi_filelist.txt",
            "net\\\r\nnet\\minecraft\\client\\Minecraft.class\r\nterrain.png\r\n");
  ASSERT_EQ(RunArchiver("u \"" + dir() + "versions\\old.jar\" -hide -tzip -mx9 @__gpi_filelist.txt",
                        "patch"),
            0);
  EXPECT_EQ(ListZip("versions/old.jar"),
            (Listing{{"net", {true, 0, 0}},
                     {"net/minecraft/client/Minecraft.class", {false, 5, Crc("older")}},
                     {"terrain.png", {false, 1, Crc("t")}}}));
}

TEST_F(Update, UpdateReplacesOnlyWithNewerFilesAndDeletingAllLeavesAnEmptyArchive) {
  WriteFile("a.txt", "first");
  ASSERT_EQ(RunArchiver("u t.zip a.txt"), 0);
  WriteFile("a.txt", "second");
  platform::SetFileDate("a.txt", platform::FileDate("a.txt") - 100);
  ASSERT_EQ(RunArchiver("u t.zip a.txt"), 0);
  EXPECT_EQ(ListZip("t.zip")["a.txt"].crc, Crc("first"));
  ASSERT_EQ(RunArchiver("a t.zip a.txt"), 0);
  EXPECT_EQ(ListZip("t.zip")["a.txt"].crc, Crc("second"));
  ASSERT_EQ(RunArchiver("d \"t.zip\" a.txt "), 0);
  EXPECT_TRUE(platform::IsFile("t.zip"));
  EXPECT_TRUE(ListZip("t.zip").empty());
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

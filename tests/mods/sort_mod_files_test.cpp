// Sorting unpacked archives into the workspace, and the moves it is made of.
#include "mods/sort_mod_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mods/move_tree.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using Names = std::set<std::string>;

// What each archive holds (a name ending in "/" is a folder) and where the sorting puts it:
// the parts "minecraft.jar", "root" (besides the folders every root has) and "unused".
struct SortCase {
  const char* label;
  test::JarFiles archive;
  Names jar, root, unused;
};

const SortCase kSortCases[] = {
    {"ClassFilesAtTheTopMakeItAllJarContent",
     {{"Entity.CLASS", "c"},
      {"META-INF/MANIFEST.MF", "m"},
      {"net/x.class", "x"},
      {"mods/o.txt", "o"}},
     {"Entity.CLASS", "META-INF/", "META-INF/MANIFEST.MF", "net/", "net/x.class", "mods/",
      "mods/o.txt"},
     {},
     {}},
    // The recognised folders arrive emptied; the deeper level's leftovers at the top.
    {"ASingleTopFolderIsSortedOneLevelDown",
     {{"Light 1.2/mods/light.jar", "j"},
      {"Light 1.2/config/light.cfg", "c"},
      {"Light 1.2/readme.txt", "r"}},
     {},
     {"mods/light.jar", "config/light.cfg"},
     {"mods/", "config/", "Light 1.2/", "readme.txt"}},
    {"GameFolderAndJarFolderInAnyLetterCase",
     {{".MineCraft/saves/world/level.dat", "l"},
      {"MINECRAFT.JAR/a.class", "a"},
      {"MINECRAFT.JAR/gui/items.png", "i"}},
     {"a.class", "gui/", "gui/items.png"},
     {"saves/", "saves/world/", "saves/world/level.dat"},
     {".MineCraft/", "MINECRAFT.JAR/"}},
    // Something was recognised at the top, so "docs" is not searched.
    {"NamesAreMatchedAsPartsInRuleOrder",
     {{"cabinet/lwjgl.jar", "l"},
      {"resources-old/sound/step.ogg", "s"},
      {"MyConfigs/a.cfg", "c"},
      {"Minecraft Mods/b.zip", "b"},
      {"docs/manual.txt", "m"}},
     {},
     {"bin/lwjgl.jar", "resources/sound/", "resources/sound/step.ogg", "config/a.cfg",
      "mods/b.zip"},
     {"cabinet/", "resources-old/", "MyConfigs/", "Minecraft Mods/", "docs/", "docs/manual.txt"}},
    {"ABinFolderGoesToTheJarOnlyWithClassFiles",
     {{"bin/Patch.Class", "p"}, {"mods/x.jar", "x"}, {"other/bin/natives.so", "n"}},
     {"Patch.Class"},
     {"mods/x.jar"},
     {"bin/", "mods/", "other/", "other/bin/", "other/bin/natives.so"}},
    // The zip file is no recognised folder, so the walk still descends into "pack".
    {"ZipFilesAtTheTopGoToModsLowerCased",
     {{"Addon.ZIP", "z"}, {"Notes.txt", "n"}, {"pack/config/x.cfg", "x"}},
     {},
     {"mods/addon.zip", "config/x.cfg"},
     {"Notes.txt", "pack/", "config/"}},
};

class SortModFilesTest : public test::InTempFolder {};

// How an archive is unpacked is the archiver's; here its unpacked tree is sorted.
TEST_F(SortModFilesTest, EachArchiveIsSortedIntoTheWorkspaceParts) {
  for (const SortCase& c : kSortCases) {
    std::string base = dir() + c.label + "/";
    SCOPED_TRACE(base);
    test::WriteTree(base + "staging/", c.archive, 1300000000);
    SortModFiles(base + "staging\\", base + "ws\\");
    EXPECT_TRUE(test::TreeNames(base + "staging").empty());
    Names root = c.root;
    root.insert({"bin/", "config/", "resources/", "mods/"});
    EXPECT_EQ(test::TreeNames(base + "ws/minecraft.jar"), c.jar);
    EXPECT_EQ(test::TreeNames(base + "ws/root"), root);
    EXPECT_EQ(test::TreeNames(base + "ws/unused"), c.unused);
  }
}

class MoveTreeTest : public test::InTempFolder {};

TEST_F(MoveTreeTest, MergesFoldersAndReplacesFiles) {
  test::WriteFile(dir() + "a/x.txt", "new");
  test::WriteFile(dir() + "a/sub/y.txt", "y");
  test::WriteFile(dir() + "b/x.txt", "old");
  test::WriteFile(dir() + "b/sub/z.txt", "z");
  MoveTree(dir() + "a\\", dir() + "b\\");
  EXPECT_EQ(test::ReadFile(dir() + "b/x.txt"), "new");
  EXPECT_EQ(test::TreeNames(dir() + "b"), (Names{"x.txt", "sub/", "sub/y.txt", "sub/z.txt"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir() + "a"));
  EXPECT_TRUE(test::TreeNames(dir() + "a").empty());
}

TEST_F(MoveTreeTest, WhatCannotBeMovedStaysInsteadOfBeingDeleted) {
  test::WriteFile(dir() + "a/conf/keep.txt", "k");
  test::WriteFile(dir() + "a/file", "f");
  test::WriteFile(dir() + "b/conf", "a file where the folder would go");
  std::filesystem::create_directories(dir() + "b/file");
  MoveTree(dir() + "a\\", dir() + "b\\");
  EXPECT_EQ(test::ReadFile(dir() + "a/conf/keep.txt"), "k");
  EXPECT_EQ(test::ReadFile(dir() + "a/file"), "f");
}

TEST_F(MoveTreeTest, ATargetInsideTheSourceIsLeftAlone) {
  test::WriteFile(dir() + "a/x.txt", "x");
  std::filesystem::create_directories(dir() + "a/inner");
  MoveTree(dir() + "a\\", dir() + "a\\inner\\");
  MoveTree(dir() + "a\\", dir() + "a/");
  EXPECT_EQ(test::TreeNames(dir() + "a"), (Names{"x.txt", "inner/"}));
}

}  // namespace
}  // namespace oxlip

// Sorting unpacked archives into the workspace. Each archive is made by the 7-Zip program and
// by Python's zipfile and unpacked by our archiver with the import's command line.
#include "mods/sort_mod_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/seven_zip.h"
#include "mods/move_tree.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using Names = std::set<std::string>;

enum class Maker { kSevenZipProgram, kPython };

class SortModFilesTest : public test::InTempFolder, public ::testing::WithParamInterface<Maker> {
 protected:
  // Zips the tree written below "src/", unpacks it into the staging folder and sorts it.
  void SortArchive(const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, data] : files) {
      if (name.back() == '/')
        std::filesystem::create_directories(dir() + "src/" + name);
      else
        test::WriteFile(dir() + "src/" + name, data);
    }
    if (GetParam() == Maker::kSevenZipProgram)
      ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a -tzip ../mod.zip *"), 0);
    else
      ASSERT_EQ(test::MakeZipWithPython("tree mod.zip src"), 0);
    ASSERT_EQ(SevenZip(nullptr, "x \"" + dir() + "mod.zip\" * -o\"" + staging + "\" -aoa -hide",
                       nullptr, 0),
              0);
    SortModFiles(staging, workspace);
    EXPECT_TRUE(test::TreeNames(dir() + "staging").empty());
  }

  // The workspace below one of its parts.
  Names Part(const std::string& part) { return test::TreeNames(dir() + "ws/" + part); }

  // What every sorted workspace holds besides the content.
  static Names RootWith(Names extra) {
    extra.insert({"bin/", "config/", "resources/", "mods/"});
    return extra;
  }

  std::string staging = dir() + "staging\\";
  std::string workspace = dir() + "ws\\";
};

TEST_P(SortModFilesTest, ClassFilesAtTheTopMakeItAllJarContent) {
  SortArchive({{"Entity.CLASS", "c"},
               {"META-INF/MANIFEST.MF", "m"},
               {"net/x.class", "x"},
               {"mods/other.txt", "o"}});
  EXPECT_EQ(Part("minecraft.jar"), (Names{"Entity.CLASS", "META-INF/", "META-INF/MANIFEST.MF",
                                          "net/", "net/x.class", "mods/", "mods/other.txt"}));
  EXPECT_EQ(Part("root"), RootWith({}));
  EXPECT_TRUE(Part("unused").empty());
}

TEST_P(SortModFilesTest, ASingleTopFolderIsSortedOneLevelDown) {
  SortArchive({{"Better Light 1.2/mods/light.jar", "j"},
               {"Better Light 1.2/config/light.cfg", "c"},
               {"Better Light 1.2/readme.txt", "r"}});
  EXPECT_EQ(Part("root"), RootWith({"mods/light.jar", "config/light.cfg"}));
  // The recognised folders arrive emptied; the deeper level's leftovers at the top.
  EXPECT_EQ(Part("unused"), (Names{"mods/", "config/", "Better Light 1.2/", "readme.txt"}));
  EXPECT_TRUE(Part("minecraft.jar").empty());
}

TEST_P(SortModFilesTest, GameFolderAndJarFolderInAnyLetterCase) {
  SortArchive({{".MineCraft/saves/world/level.dat", "l"},
               {"MINECRAFT.JAR/a.class", "a"},
               {"MINECRAFT.JAR/gui/items.png", "i"}});
  EXPECT_EQ(Part("root"), RootWith({"saves/", "saves/world/", "saves/world/level.dat"}));
  EXPECT_EQ(Part("minecraft.jar"), (Names{"a.class", "gui/", "gui/items.png"}));
  EXPECT_EQ(Part("unused"), (Names{".MineCraft/", "MINECRAFT.JAR/"}));
}

TEST_P(SortModFilesTest, NamesAreMatchedAsPartsInRuleOrder) {
  SortArchive({{"cabinet/lwjgl.jar", "l"},
               {"resources-old/sound/step.ogg", "s"},
               {"MyConfigs/a.cfg", "c"},
               {"Minecraft Mods/b.zip", "b"},
               {"docs/manual.txt", "m"}});
  EXPECT_EQ(Part("root"), RootWith({"bin/lwjgl.jar", "resources/sound/", "resources/sound/step.ogg",
                                    "config/a.cfg", "mods/b.zip"}));
  // Something was recognised at the top, so "docs" is not searched.
  EXPECT_EQ(Part("unused"), (Names{"cabinet/", "resources-old/", "MyConfigs/", "Minecraft Mods/",
                                   "docs/", "docs/manual.txt"}));
}

TEST_P(SortModFilesTest, ABinFolderGoesToTheJarOnlyWithClassFiles) {
  SortArchive({{"bin/Patch.Class", "p"}, {"mods/x.jar", "x"}, {"other/bin/natives.so", "n"}});
  EXPECT_EQ(Part("minecraft.jar"), (Names{"Patch.Class"}));
  EXPECT_EQ(Part("root"), RootWith({"mods/x.jar"}));
  EXPECT_EQ(Part("unused"),
            (Names{"bin/", "mods/", "other/", "other/bin/", "other/bin/natives.so"}));
}

TEST_P(SortModFilesTest, ZipFilesAtTheTopGoToModsLowerCased) {
  SortArchive({{"Addon.ZIP", "z"}, {"Notes.txt", "n"}, {"pack/config/x.cfg", "x"}});
  // The zip file is no recognised folder, so the walk still descends into "pack".
  EXPECT_EQ(Part("root"), RootWith({"mods/addon.zip", "config/x.cfg"}));
  EXPECT_EQ(Part("unused"), (Names{"Notes.txt", "pack/", "config/"}));
}

INSTANTIATE_TEST_SUITE_P(Makers, SortModFilesTest,
                         ::testing::Values(Maker::kSevenZipProgram, Maker::kPython),
                         [](const auto& info) {
                           return info.param == Maker::kPython ? "Python" : "SevenZipProgram";
                         });

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

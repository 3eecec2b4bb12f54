// Packing the workspace into a mod folder, read back with the 7-Zip program; and the library
// of mod folders with their "mod.ini".
#include "mods/create_mod.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <regex>

#include "base/error_text.h"
#include "mods/mod_library.h"
#include "mods/mod_workspace.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using Names = std::set<std::string>;

class CreateModTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.StartFolder = dir();
    settings.CacheDir = dir() + "Cache/";
    settings.ModDir = dir() + "mods/";
    std::filesystem::create_directories(settings.ModDir);
    mods::CreateWorkspaceFolders(mods::WorkspaceFolder(settings));
  }
  std::string Part(const std::string& part) { return dir() + "Cache/testmod/" + part + "/"; }
  std::string ModFolder(const ModRecord& record) {
    return settings.ModDir + record.Dir.substr(0, record.Dir.size() - 1) + "/";
  }

  base::GlobalSettings settings;
  ModRecord record{"", "1.2.5", "My Mod", ""};
};

// Also with folder settings relative to the start folder: packing one part must not move where
// the next part or the mod folder is looked for.
TEST_F(CreateModTest, EachPartIsPackedRelativeToItself) {
  for (bool relative : {false, true}) {
    SCOPED_TRACE(relative);
    if (relative) {
      settings.CacheDir = "Cache\\";
      settings.ModDir = "mods\\";
    }
    test::WriteFile(Part("minecraft.jar") + "a.class", "a");
    test::WriteFile(Part("minecraft.jar") + "net/b.class", "b");
    test::WriteFile(Part("root") + "config/x.cfg", "x");
    test::WriteFile(Part("unused") + "readme.txt", "never packed");
    ModRecord made = record;
    EXPECT_EQ(CreateMod(settings, made), 1);
    EXPECT_TRUE(std::regex_match(made.Dir, std::regex("[0-9A-F]+ - \\[1\\.2\\.5\\]My_Mod\\\\")))
        << made.Dir;
    std::string folder = dir() + "mods/" + made.Dir.substr(0, made.Dir.size() - 1) + "/";
    EXPECT_EQ(test::TreeNames(folder), (Names{"minecraftjar.7z", "root.7z", "mod.ini"}));
    EXPECT_EQ(test::ProgramListing(folder + "minecraftjar.7z"),
              (Names{"a.class", "net", "net/b.class"}));
    EXPECT_EQ(test::ProgramListing(folder + "root.7z"),
              (Names{"bin", "config", "config/x.cfg", "mods", "resources"}));
    EXPECT_EQ(test::ReadFile(folder + "mod.ini"), "Name = My Mod\r\nVersion = 1.2.5\r\n");
    EXPECT_EQ(platform::CurrentFolder(), dir());
  }
}

// A part with folders but no file makes no archive; a file dated before 1970 is a file.
TEST_F(CreateModTest, OnlyFilesMakeAnArchiveWhateverTheirDate) {
  std::filesystem::create_directories(Part("root") + "empty/deeper");
  test::WriteFile(Part("minecraft.jar") + "old.class", "o");
  ASSERT_TRUE(platform::SetFileDate(Part("minecraft.jar") + "old.class", -86400));
  EXPECT_EQ(CreateMod(settings, record), 1);
  EXPECT_EQ(test::TreeNames(ModFolder(record)), (Names{"minecraftjar.7z", "mod.ini"}));
  EXPECT_EQ(test::ProgramListing(ModFolder(record) + "minecraftjar.7z"), (Names{"old.class"}));
}

TEST_F(CreateModTest, APackingFailureIsRecordedAndTheStartFolderComesBack) {
  settings.ModDir = dir() + "not-a-folder/";
  test::WriteFile(dir() + "not-a-folder", "a file");
  test::WriteFile(Part("minecraft.jar") + "a.class", "a");
  test::WriteFile(Part("root") + "options.txt", "o");
  SetErrorText("");
  EXPECT_EQ(CreateMod(settings, record), 0);
  EXPECT_TRUE(base::LastErrorText().starts_with("CreateMod:Can't pack root.7z: "))
      << base::LastErrorText();
  EXPECT_TRUE(base::LastErrorText().ends_with(": " + platform::ReasonText(ENOTDIR)))
      << base::LastErrorText();
  EXPECT_FALSE(record.Dir.empty());
  EXPECT_EQ(platform::CurrentFolder(), dir());
}

class ModLibraryTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.ModDir = dir() + "mods/";
    versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1300000000},
                {"minecraft - 1.0.0.jar", "1.0.0", 1320000000}};
  }
  void AddMod(const std::string& folder, const std::string& name, const std::string& version) {
    test::WriteFile(settings.ModDir + folder + "/mod.ini",
                    "Name = " + name + "\r\nVersion = " + version + "\r\n");
  }
  std::vector<std::string> ScannedNames() {
    std::vector<std::string> names;
    for (const ModRecord& mod : Scan()) names.push_back(mod.Name);
    return names;
  }
  ModList Scan() {
    ModList mods;
    ScanMods(settings, versions, mods);
    return mods;
  }

  base::GlobalSettings settings;
  versions::VersionList versions;
};

TEST_F(ModLibraryTest, OrderIsAllThenNewestJarThenUnknownByteWise) {
  AddMod("a", "zeta", "1.2.5");
  AddMod("b", "alpha", "1.2.5");
  AddMod("c", "Beta", "1.2.5");
  AddMod("d", "Old", "1.0.0");
  AddMod("e", "Anything", "all");
  AddMod("f", "Lost", "9.9");
  test::WriteFile(settings.ModDir + "loose.txt", "not a mod");
  test::WriteFile(settings.ModDir + "g/readme.txt", "no descriptor");
  // 1.0.0's jar is newer than 1.2.5's, so its mods come first whatever the names.
  EXPECT_EQ(ScannedNames(), (std::vector<std::string>{"Anything", "Old", "Beta", "alpha", "zeta",
                                                      "<loaderror>", "Lost"}));
  ModList mods = Scan();
  EXPECT_EQ(mods[0].Dir, "e\\");
  EXPECT_EQ(mods[0].SortKey, "0000000000_Anything");
  EXPECT_EQ(mods.back().SortKey, "_Lost");
}

TEST_F(ModLibraryTest, MissingFolderIsReported) {
  settings.ModDir = dir() + "nowhere/";
  SetErrorText("");
  EXPECT_TRUE(ScannedNames().empty());
  EXPECT_EQ(base::LastErrorText(), "ScanMods: no mods! No such file or directory");
}

TEST_F(ModLibraryTest, WriteModIniKeepsExactlyTwoKeys) {
  test::WriteFile(settings.ModDir + "m/mod.ini", "Extra = 1\r\nName = Old\r\nVersion = all\r\n");
  WriteModIni(settings, {"m\\", "1.2.5", "New name", ""});
  EXPECT_EQ(test::ReadFile(settings.ModDir + "m/mod.ini"),
            "Name = New name\r\nVersion = 1.2.5\r\n");
}

}  // namespace
}  // namespace oxlip

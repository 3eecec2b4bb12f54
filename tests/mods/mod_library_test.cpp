#include "mods/mod_library.h"

#include <gtest/gtest.h>

#include "base/error_text.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using test::ReadFile;
using test::WriteFile;

class ModLibraryTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.ModDir = dir() + "mods/";
    versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1300000000},
                {"minecraft - 1.0.0.jar", "1.0.0", 1320000000}};
  }
  void AddMod(const std::string& folder, const std::string& name, const std::string& version) {
    WriteFile(settings.ModDir + folder + "/mod.ini",
              "Name = " + name + "\r\nVersion = " + version + "\r\n");
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const ModRecord& mod : Scan()) names.push_back(mod.Name);
    return names;
  }
  ModList Scan() {
    ModList mods;
    ScanMods(settings, versions, mods);
    return mods;
  }

  GlobalSettings settings;
  VersionList versions;
};

TEST_F(ModLibraryTest, OrderIsAllThenNewestJarThenUnknownByteWise) {
  AddMod("a", "zeta", "1.2.5");
  AddMod("b", "alpha", "1.2.5");
  AddMod("c", "Beta", "1.2.5");
  AddMod("d", "Old", "1.0.0");
  AddMod("e", "Anything", "all");
  AddMod("f", "Lost", "9.9");
  WriteFile(settings.ModDir + "loose.txt", "not a mod");
  WriteFile(settings.ModDir + "g/readme.txt", "no descriptor");
  // 1.0.0's jar is newer than 1.2.5's, so its mods come first whatever the names.
  EXPECT_EQ(Names(), (std::vector<std::string>{"Anything", "Old", "Beta", "alpha", "zeta",
                                               "<loaderror>", "Lost"}));
  ModList mods = Scan();
  EXPECT_EQ(mods[0].Dir, "e\\");
  EXPECT_EQ(mods[0].SortKey, "0000000000_Anything");
  EXPECT_EQ(mods.back().SortKey, "_Lost");
}

TEST_F(ModLibraryTest, MissingFolderIsReported) {
  settings.ModDir = dir() + "nowhere/";
  SetErrorText("");
  EXPECT_TRUE(Names().empty());
  EXPECT_EQ(LastErrorText(), "ScanMods: no mods! No such file or directory");
}

TEST_F(ModLibraryTest, WriteModIniKeepsExactlyTwoKeys) {
  WriteFile(settings.ModDir + "m/mod.ini", "Extra = 1\r\nName = Old\r\nVersion = all\r\n");
  WriteModIni(settings, {"m\\", "1.2.5", "New name", ""});
  EXPECT_EQ(ReadFile(settings.ModDir + "m/mod.ini"), "Name = New name\r\nVersion = 1.2.5\r\n");
}

}  // namespace
}  // namespace oxlip

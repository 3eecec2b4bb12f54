// Packing the workspace into a mod folder, read back with the 7-Zip program.
#include "mods/create_mod.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <regex>

#include "base/error_text.h"
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

}  // namespace
}  // namespace oxlip

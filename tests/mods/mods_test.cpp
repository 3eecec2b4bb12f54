// Mods made by CreateMod (7z archives, read back with the 7-Zip program), the library of mod
// folders with their "mod.ini", and installing mods into an instance's game folder and jar.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <regex>

#include "base/error_text.h"
#include "mods/create_mod.h"
#include "mods/mod_install.h"
#include "mods/mod_library.h"
#include "mods/mod_workspace.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"
#include "support/write_limit.h"

namespace oxlip {
namespace {

using Names = std::set<std::string>;
using Files = test::JarFiles;

class ModInstallTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.StartFolder = dir();
    settings.CacheDir = dir() + "Cache/";
    settings.InstancesDir = dir() + "Instances/";
    settings.ModDir = dir() + "mods/";
    instance.Folder = "inst";
    std::filesystem::create_directories(game + "bin");
    std::filesystem::create_directories(settings.ModDir);
    // A jar as the game ships it.
    test::MakeJar(jar, {{"META-INF/MANIFEST.MF", "Manifest-Version: 1.0\n"},
                        {"META-INF/MOJANG_C.SF", "signature"},
                        {"net/minecraft/client/Minecraft.class", "main class"},
                        {"a.class", "a"}});
  }

  // A mod packed by CreateMod from the files given for the two parts of the workspace.
  std::string MakeMod(const std::string& name, const Files& jar_files, const Files& root_files) {
    std::filesystem::remove_all(dir() + "Cache/testmod");
    mods::CreateWorkspaceFolders(mods::WorkspaceFolder(settings));
    test::WriteTree(dir() + "Cache/testmod/minecraft.jar/", jar_files, 1300000000);
    test::WriteTree(dir() + "Cache/testmod/root/", root_files, 1300000000);
    ModRecord record{"", "all", name, ""};
    EXPECT_EQ(CreateMod(settings, record), 1);
    std::filesystem::remove_all(dir() + "Cache/testmod");
    return record.Dir;
  }

  void Install(std::vector<std::string> mods, int overwrite) {
    instance.Mods = std::move(mods);
    base::NoProgress progress;
    installmod(settings, instance, overwrite, progress);
  }

  // Where `line` stands in the record; npos when it is no line of it.
  std::size_t RecordedAt(const std::string& line) {
    return ("\r\n" + test::ReadFile(record)).find("\r\n" + line + "\r\n");
  }
  bool Recorded(const std::string& line) { return RecordedAt(line) != std::string::npos; }

  base::GlobalSettings settings;
  Instance instance;
  std::string folder = dir() + "Instances/inst/";
  std::string game = folder + ".minecraft/";
  std::string jar = game + "bin/minecraft.jar";
  std::string record = folder + "modinstall.inf";
};

// A later mod's file wins; with overwrite 0 an edited file stays (and is still recorded), 1
// replaces only the files directly in the game folder, and an emptied file counts as missing.
TEST_F(ModInstallTest, TheLaterModWinsAndOverwriteDecidesOverEditedFiles) {
  std::string a = MakeMod("A", {}, {{"config/shared.cfg", "from A"}, {"options.txt", "A"}});
  std::string b = MakeMod("B", {}, {{"config/shared.cfg", "from B"}});
  std::string jar_before = test::ReadFile(jar);
  Install({a, b}, 1);
  EXPECT_EQ(test::ReadFile(game + "config/shared.cfg"), "from B");
  EXPECT_EQ(test::ReadFile(game + "options.txt"), "A");
  ASSERT_TRUE(Recorded("config\\shared.cfg"));
  EXPECT_LT(RecordedAt("config\\"), RecordedAt("config\\shared.cfg"));
  EXPECT_EQ(test::ReadFile(jar), jar_before);  // no mod has a jar part
  for (const char* staging : {"Cache/root", "Cache/minecraftjar"})
    EXPECT_FALSE(std::filesystem::exists(dir() + staging)) << staging;

  test::WriteFile(game + "options.txt", "edited");
  test::WriteFile(game + "config/shared.cfg", "edited");
  Install({a, b}, 0);
  EXPECT_EQ(test::ReadFile(game + "options.txt"), "edited");
  EXPECT_EQ(test::ReadFile(game + "config/shared.cfg"), "edited");
  EXPECT_TRUE(Recorded("options.txt") && Recorded("config\\shared.cfg"));
  Install({a, b}, 1);
  EXPECT_EQ(test::ReadFile(game + "options.txt"), "A");
  EXPECT_EQ(test::ReadFile(game + "config/shared.cfg"), "edited");
  test::WriteFile(game + "config/shared.cfg", "");
  Install({a, b}, 0);
  EXPECT_EQ(test::ReadFile(game + "config/shared.cfg"), "from B");
}

// Folders that were there before (a mods folder of the person's own) are never recorded, so
// never deleted, not even when no mod is active and everything recorded goes with the record.
TEST_F(ModInstallTest, AModMadeInactiveLeavesWithItsEmptyFoldersButNotWithFoldersThatWereThere) {
  test::WriteFile(game + "mods/user.jar", "the user's own");
  std::filesystem::create_directories(game + "resources");
  std::string a = MakeMod("A", {}, {{"mods/extra/a.jar", "a"}, {"config/a/a.cfg", "a"}});
  std::string b = MakeMod("B", {}, {{"mods/b.jar", "b"}});
  Install({a, b}, 1);
  test::WriteFile(game + "config/a/mine.txt", "a file no mod put there");
  Install({b}, 0);
  EXPECT_FALSE(std::filesystem::exists(game + "mods/extra"));
  EXPECT_FALSE(std::filesystem::exists(game + "config/a/a.cfg"));
  EXPECT_EQ(test::ReadFile(game + "config/a/mine.txt"), "a file no mod put there");
  EXPECT_EQ(test::ReadFile(game + "mods/b.jar"), "b");
  std::filesystem::remove(game + "mods/user.jar");
  Install({}, 0);
  EXPECT_FALSE(std::filesystem::exists(game + "mods/b.jar"));
  EXPECT_FALSE(std::filesystem::exists(record));
  EXPECT_TRUE(std::filesystem::is_directory(game + "mods"));
  EXPECT_TRUE(std::filesystem::is_directory(game + "resources"));
  EXPECT_TRUE(std::filesystem::exists(game + "bin/minecraft.jar"));
}

// What a person had there before is theirs: it comes back once no mod provides that file.
TEST_F(ModInstallTest, FilesAnInstallReplacedComeBackWhenNoModProvidesThemAnyMore) {
  test::WriteFile(game + "options.txt", "the person's own");
  test::WriteFile(game + "config/mine.cfg", "mine");
  std::string a = MakeMod("A", {}, {{"options.txt", "a"}, {"config/mine.cfg", "a"}});
  std::string b = MakeMod("B", {}, {{"config/mine.cfg", "b"}});
  Install({a}, 1);
  EXPECT_EQ(test::ReadFile(game + "options.txt"), "a");
  EXPECT_EQ(test::ReadFile(game + "config/mine.cfg"), "a");
  Install({b}, 0);
  EXPECT_EQ(test::ReadFile(game + "options.txt"), "the person's own");
  EXPECT_EQ(test::ReadFile(game + "config/mine.cfg"), "a");  // installed and kept, not theirs
  UninstallMods(settings, instance);
  EXPECT_EQ(test::ReadFile(game + "config/mine.cfg"), "mine");
  EXPECT_EQ(test::TreeNames(folder),
            (Names{".minecraft/", ".minecraft/bin/", ".minecraft/bin/minecraft.jar",
                   ".minecraft/config/", ".minecraft/config/mine.cfg", ".minecraft/options.txt"}));
}

// Nothing may be installed that no record owns: a record that cannot be written (the disk
// filled up) stops the installation before the game folder or the jar change.
TEST_F(ModInstallTest, ARecordThatCannotBeWrittenStopsTheInstallationBeforeAnyChange) {
  std::string a = MakeMod("A", {}, {{"old.txt", "a"}});
  Install({a}, 1);
  Files many;
  for (int i = 0; i < 40; ++i) many["config/file-" + std::to_string(i) + ".cfg"] = "b";
  std::string b = MakeMod("B", {{"b.class", "b"}}, many);
  std::string record_before = test::ReadFile(record), jar_before = test::ReadFile(jar);
  // Every file of the mod fits below the limit; the record of them all does not.
  std::optional<std::string> error = test::InChildWithWriteLimit(512, [&] {
    SetErrorText("");
    Install({b}, 1);
    return base::LastErrorText();
  });
  EXPECT_EQ(error, "installmod: Can't write " + record + ": " + platform::ReasonText(EFBIG));
  EXPECT_EQ(test::ReadFile(game + "old.txt"), "a");
  EXPECT_FALSE(std::filesystem::exists(game + "config/file-0.cfg"));
  EXPECT_EQ(test::ReadFile(record), record_before);
  EXPECT_EQ(test::ReadFile(jar), jar_before);
}

// A mod archive from anywhere is capped like an imported one.
// A damaged one is not half installed.
TEST_F(ModInstallTest, AModArchiveThatUnpacksToTooMuchOrIsDamagedIsRefusedBeforeAnyChange) {
  for (bool bomb : {true, false}) {
    SCOPED_TRACE(bomb ? "bomb" : "damaged");
    std::string a = MakeMod(bomb ? "A" : "B", {}, {{"options.txt", "a"}});
    std::string archive = platform::NativePath(settings.ModDir + a + "root.7z");
    if (bomb)
      ASSERT_EQ(test::MakeZipWithPython("bomb '" + archive + "' 100"), 0);
    else
      test::WriteFile(archive, test::ReadFile(archive).substr(0, 40));
    SetErrorText("");
    Install({a}, 1);
    EXPECT_TRUE(base::LastErrorText().starts_with(
        (bomb ? "installmod: Refused " : "installmod: Can't unpack ") + archive + ": "))
        << base::LastErrorText();
    EXPECT_EQ(test::TreeNames(game), (Names{"bin/", "bin/minecraft.jar"}));
    EXPECT_FALSE(std::filesystem::exists(record));
    EXPECT_FALSE(std::filesystem::exists(dir() + "Cache/root"));
  }
}

// A failing patch (the jar's central directory is gone) leaves the old jar byte for byte; the
// files for the game folder are installed all the same.
TEST_F(ModInstallTest, TheJarGetsEverythingButMetaInfAndAFailingPatchLeavesItAsItWas) {
  std::string a = MakeMod(
      "A", {{"a.class", "patched"}, {"net/Mod.class", "m"}, {"Meta-Inf/MOD.SF", "mod signature"}},
      {{"options.txt", "a"}});
  std::string b = MakeMod("B", {{"b.class", "b"}}, {});
  Install({a, b}, 1);
  EXPECT_EQ(test::JarContents(jar),
            (test::JarFiles{{"a.class", "patched"},
                            {"b.class", "b"},
                            {"net/", ""},
                            {"net/Mod.class", "m"},
                            {"net/minecraft/", ""},
                            {"net/minecraft/client/", ""},
                            {"net/minecraft/client/Minecraft.class", "main class"}}));
  EXPECT_TRUE(test::TreeNames(game + "bin") == Names{"minecraft.jar"});

  std::string damaged = test::ReadFile(jar);
  damaged.resize(damaged.size() / 2);
  test::WriteFile(jar, damaged);
  std::filesystem::remove(game + "options.txt");
  SetErrorText("");
  Install({a}, 1);
  EXPECT_TRUE(base::LastErrorText().starts_with("installmod: Can't patch minecraft.jar: "))
      << base::LastErrorText();
  EXPECT_EQ(test::ReadFile(jar), damaged);
  EXPECT_TRUE(test::TreeNames(game + "bin") == Names{"minecraft.jar"});
  EXPECT_EQ(test::ReadFile(game + "options.txt"), "a");
}

TEST_F(ModInstallTest, RecordLinesAndModFoldersLeadingOutsideAreIgnored) {
  test::WriteFile(dir() + "outside.txt", "keep");
  test::WriteFile(dir() + "Instances/inst/settings.ini", "keep");
  test::WriteFile(record,
                  "../../../outside.txt\r\n" + dir() + "outside.txt\r\n..\\settings.ini\r\n");
  UninstallMods(settings, instance);
  EXPECT_EQ(test::ReadFile(dir() + "outside.txt"), "keep");
  EXPECT_EQ(test::ReadFile(dir() + "Instances/inst/settings.ini"), "keep");
  // A mod folder outside the library is never unpacked.
  std::string a = MakeMod("A", {}, {{"options.txt", "a"}});
  std::filesystem::rename(settings.ModDir + a.substr(0, a.size() - 1), dir() + "elsewhere");
  Install({"..\\elsewhere\\", dir() + "elsewhere\\"}, 1);
  EXPECT_FALSE(std::filesystem::exists(game + "options.txt"));
  EXPECT_EQ(test::ReadFile(dir() + "outside.txt"), "keep");
}

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

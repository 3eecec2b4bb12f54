// Importing archives as mods, the dialog answered by a script.
#include "app/import_mod.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/mod_dialog_model.h"
#include "support/mod_fixtures.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using Names = std::set<std::string>;

class ModImportTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.StartFolder = dir();
    settings.CacheDir = dir() + "Cache/";
    settings.ModDir = dir() + "mods/";
    settings.LatestVersionNr = "1.2.5";
    std::filesystem::create_directories(settings.CacheDir);
    std::filesystem::create_directories(settings.ModDir);
    versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1}};
  }

  // A mod as people pack it: one top folder with the usual layout.
  void MakeModSource() {
    test::WriteFile(dir() + "src/Fancy Mod/mods/fancy.jar", "fancy");
    test::WriteFile(dir() + "src/Fancy Mod/minecraft.jar/Fancy.class", "class");
    test::WriteFile(dir() + "src/Fancy Mod/readme.txt", "read me");
  }

  // Answers the dialog and remembers what it showed.
  void Confirm(bool confirm) {
    ui.on_mod_dialog = [this, confirm](app::ModDialogModel& model) {
      shown_name = model.name();
      shown_version = model.version_choices()[model.selected_version()];
      shown_root = test::TreeNames(dir() + "Cache/testmod/root");
      return confirm;
    };
  }

  // Nothing of an import may stay but a mod folder.
  void ExpectNoStaging() {
    EXPECT_FALSE(std::filesystem::exists(dir() + "Cache/unzipped"));
    EXPECT_FALSE(std::filesystem::exists(dir() + "Cache/testmod"));
  }

  base::GlobalSettings settings;
  versions::VersionList versions;
  test::ScriptedUi ui;
  std::string shown_name, shown_version;
  Names shown_root;
};

TEST_F(ModImportTest, AConfirmedArchiveBecomesAModOfTheLibrary) {
  MakeModSource();
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a ../Fancy.Mod.v2.7Z *"), 0);
  Confirm(true);
  std::string made = ImportMod(settings, versions, ui, dir() + "Fancy.Mod.v2.7Z");
  EXPECT_EQ(shown_name, "Fancy.Mod.v2");
  EXPECT_EQ(shown_version, "1.2.5");
  EXPECT_EQ(shown_root, (Names{"bin/", "config/", "resources/", "mods/", "mods/fancy.jar"}));
  ASSERT_FALSE(made.empty());
  std::string folder = settings.ModDir + made.substr(0, made.size() - 1) + "/";
  EXPECT_EQ(test::ProgramListing(folder + "minecraftjar.7z"), (Names{"Fancy.class"}));
  EXPECT_EQ(test::ReadFile(folder + "mod.ini"), "Name = Fancy.Mod.v2\r\nVersion = 1.2.5\r\n");
  EXPECT_EQ(ui.behind_status_runs, 2);  // unpacking, then packing
  EXPECT_TRUE(ui.messages.empty());
  ExpectNoStaging();
}

TEST_F(ModImportTest, CancellingLeavesNoTrace) {
  MakeModSource();
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a -tzip ../fancy.zip *"), 0);
  Confirm(false);
  EXPECT_EQ(ImportMod(settings, versions, ui, dir() + "fancy.zip"), "");
  EXPECT_EQ(shown_name, "fancy");
  EXPECT_TRUE(test::TreeNames(settings.ModDir).empty());
  ExpectNoStaging();
}

TEST_F(ModImportTest, OnlyZipAnd7zInAnyLetterCaseAreTaken) {
  MakeModSource();
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a -tzip ../a.ZiP *"), 0);
  int dialogs = 0;
  ui.on_mod_dialog = [&](app::ModDialogModel&) { return ++dialogs, false; };
  for (const char* name : {"a.rar", "a.jar", "zip"}) {
    std::filesystem::copy(dir() + "a.ZiP", name);
    EXPECT_EQ(ImportMod(settings, versions, ui, dir() + name), "");
  }
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(ui.status_shown.empty());
  ImportMod(settings, versions, ui, dir() + "a.ZiP");
  EXPECT_EQ(dialogs, 1);
}

class HostileImportTest : public ModImportTest,
                          public ::testing::WithParamInterface<std::string> {};

TEST_P(HostileImportTest, NothingIsWrittenOutsideTheStagingFolder) {
  std::string args = "hostile '" + dir() + "evil.zip' " + GetParam();
  if (GetParam() == "absolute") args += " '" + dir() + "absolute-escape.txt'";
  ASSERT_EQ(test::MakeZipWithPython(args), 0);
  Names before = test::TreeNames(dir());
  Confirm(false);
  ImportMod(settings, versions, ui, dir() + "evil.zip");
  EXPECT_EQ(test::TreeNames(dir()), before);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir()).parent_path().parent_path() /
                                       "escape.txt"));
  ExpectNoStaging();
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileImportTest, ::testing::Values("parent", "absolute", "link"));

// A damaged archive, a bomb, and 200 MB of zeros whose entries claim 1000 bytes are refused
// before the dialog with a clear message and leave nothing.
TEST_F(ModImportTest, DamagedArchivesAndBombsAreRefusedBeforeTheDialog) {
  test::WriteFile(dir() + "broken.zip", "PK\x03\x04 not really a zip");
  ASSERT_EQ(test::MakeZipWithPython("bomb bomb.zip 1024"), 0);
  ASSERT_LT(std::filesystem::file_size(dir() + "bomb.zip"), 1100000u);
  ASSERT_EQ(test::MakeZipWithPython("liar liar.zip 200"), 0);
  Confirm(true);
  const std::pair<std::string, std::string> cases[] = {
      {"broken.zip", "ImportMod: Can't unpack " + dir() + "broken.zip"},
      {"bomb.zip",
       "ImportMod: Refused " + dir() + "bomb.zip: it unpacks to more than 100 times its size"},
      {"liar.zip", "ImportMod: Refused " + dir() + "liar.zip"}};
  for (const auto& [file, message] : cases) {
    ui.messages.clear();
    EXPECT_EQ(ImportMod(settings, versions, ui, dir() + file), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with(message)) << ui.messages[0].text;
    ExpectNoStaging();
  }
  EXPECT_TRUE(shown_name.empty());
}

}  // namespace
}  // namespace oxlip

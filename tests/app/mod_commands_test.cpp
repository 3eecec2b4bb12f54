// The mod dialog's model, importing archives as mods and the mod list's commands, the dialogs
// answered by a script.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_registry.h"
#include "app/dialog_requesters.h"
#include "app/import_mod.h"
#include "app/instance_dialog.h"
#include "app/instance_dialog_model.h"
#include "app/login_form.h"
#include "app/main_view.h"
#include "app/mod_dialog_model.h"
#include "mods/mod_workspace.h"
#include "platform/fs.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip::app {
namespace {

using Names = std::set<std::string>;

class ModDialogModelTest : public test::InTempFolder {
 protected:
  ModDialogModelTest() {
    mods::CreateWorkspaceFolders(workspace);
    versions = {{"minecraft - 1.2.5.jar", "1.2.5", 2}, {"minecraft - b1.7.3.jar", "b1.7.3", 1}};
  }
  Names Tree(const std::string& part) { return test::TreeNames(dir() + "ws/" + part); }

  std::string workspace = dir() + "ws\\";
  versions::VersionList versions;
  ModRecord record{"", "b1.7.3", "proposed", ""};
};

// The versions start with "all" and the record's one is selected; only a confirm changes the
// record.
TEST_F(ModDialogModelTest, VersionsStartWithAllAndOnlyConfirmChangesTheRecord) {
  ModDialogModel model(workspace, versions, record);
  EXPECT_EQ(model.version_choices(), (std::vector<std::string>{"all", "1.2.5", "b1.7.3"}));
  EXPECT_EQ(model.selected_version(), 2);
  EXPECT_EQ(model.name(), "proposed");
  for (const char* version : {"9.9", ""}) {
    ModRecord other{"", version, "x", ""};
    EXPECT_EQ(ModDialogModel(workspace, versions, other).selected_version(), 0);
  }
  model.SelectVersion(0);
  model.SetName("");
  EXPECT_EQ(record.Name, "proposed");
  model.Confirm();
  EXPECT_EQ(record.Version + "|" + record.Name, "all|");
}

TEST_F(ModDialogModelTest, BrowsingIntoFoldersAndBackUp) {
  test::WriteFile(dir() + "ws/root/config/sub/a.cfg", "a");
  ModDialogModel model(workspace, versions, record);
  EXPECT_EQ(model.PathField(kRootList), "\\");
  EXPECT_FALSE(model.Enter(kRootList, "missing"));
  EXPECT_TRUE(model.Enter(kRootList, "config"));
  EXPECT_TRUE(model.Enter(kRootList, "sub"));
  EXPECT_FALSE(model.Enter(kRootList, "a.cfg"));  // a file: nothing happens
  EXPECT_FALSE(model.Enter(kRootList, ".."));
  EXPECT_FALSE(model.Enter(kJarList, "../root"));
  EXPECT_EQ(model.PathField(kRootList), "\\config\\sub\\");
  EXPECT_EQ(model.ShownFolder(kRootList), workspace + "root\\config\\sub\\");
  EXPECT_EQ(model.PathField(kJarList), "\\");
  EXPECT_TRUE(model.Up(kRootList));
  EXPECT_EQ(model.PathField(kRootList), "\\config\\");
  EXPECT_TRUE(model.Up(kRootList));
  EXPECT_FALSE(model.Up(kRootList));
  EXPECT_EQ(model.PathField(kRootList), "\\");
}

TEST_F(ModDialogModelTest, DraggedItemsMoveIntoTheListsFolderOrItsCurrentFolderItem) {
  test::WriteFile(dir() + "ws/unused/a.class", "a");
  test::WriteFile(dir() + "ws/unused/gui/x.png", "x");
  test::WriteFile(dir() + "ws/root/config/b.cfg", "old");
  test::WriteFile(dir() + "ws/unused/b.cfg", "new");
  ModDialogModel model(workspace, versions, record);
  model.StartDrag(kUnusedList, {"a.class", "gui"});
  EXPECT_EQ(model.drag_list(),
            (std::vector<std::string>{workspace + "unused\\a.class", workspace + "unused\\gui"}));
  model.DropDragged(kJarList, "");
  EXPECT_TRUE(model.drag_list().empty());
  EXPECT_EQ(Tree("minecraft.jar"), (Names{"a.class", "gui/", "gui/x.png"}));
  // A file as current item: the list's folder; a folder: into it, replacing a file there.
  model.StartDrag(kUnusedList, {"b.cfg"});
  model.DropDragged(kRootList, "config");
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/config/b.cfg"), "new");
  EXPECT_TRUE(Tree("unused").empty());
  // An item that vanished since the drag is left alone.
  test::WriteFile(dir() + "ws/unused/gone.txt", "g");
  model.StartDrag(kUnusedList, {"gone.txt"});
  std::filesystem::remove(dir() + "ws/unused/gone.txt");
  Names before = Tree("");
  model.DropDragged(kRootList, "");
  EXPECT_EQ(Tree(""), before);
}

TEST_F(ModDialogModelTest, DropsIntoItselfOrWhereItAlreadyLiesAreSkipped) {
  test::WriteFile(dir() + "ws/root/mods/a.jar", "a");
  test::WriteFile(dir() + "ws/root/mods2/b.jar", "b");
  ModDialogModel model(workspace, versions, record);
  Names before = Tree("root");
  model.StartDrag(kRootList, {"mods"});
  model.DropDragged(kRootList, "mods");  // onto itself
  model.StartDrag(kRootList, {"mods"});
  model.DropDragged(kRootList, "");  // where it already lies
  model.Enter(kRootList, "mods");
  model.StartDrag(kRootList, {"a.jar"});
  model.Up(kRootList);
  model.DropDragged(kRootList, "");  // onto an ancestor of its folder
  EXPECT_EQ(Tree("root"), before);
  // A folder whose name begins another's is no part of it.
  model.StartDrag(kRootList, {"mods"});
  model.DropDragged(kRootList, "mods2");
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/mods2/mods/a.jar"), "a");
}

TEST_F(ModDialogModelTest, DesktopFilesAreCopiedIntoTheFirstTwoListsOnly) {
  test::WriteFile(dir() + "desk/one.txt", "1");
  test::WriteFile(dir() + "desk/pack/deep/two.txt", "2");
  test::WriteFile(dir() + "ws/minecraft.jar/a.class", "a");
  test::WriteFile(dir() + "ws/root/config/one.txt", "old");
  ModDialogModel model(workspace, versions, record);
  std::string dropped = dir() + "desk/one.txt\n" + dir() + "desk/pack\r\n";
  EXPECT_FALSE(model.DropShellFiles(kUnusedList, "", dropped));
  EXPECT_TRUE(Tree("unused").empty());
  ASSERT_TRUE(model.Enter(kRootList, "config"));
  EXPECT_TRUE(model.DropShellFiles(kRootList, "", dropped));
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/config/one.txt"), "1");
  EXPECT_EQ(test::ReadFile(dir() + "ws/root/config/pack/deep/two.txt"), "2");
  EXPECT_EQ(test::ReadFile(dir() + "desk/one.txt"), "1");  // copied, not moved
  EXPECT_TRUE(model.DropShellFiles(kJarList, "", dir() + "desk/one.txt"));
  EXPECT_EQ(Tree("minecraft.jar"), (Names{"a.class", "one.txt"}));
  // The workspace itself, dropped onto one of its own parts, is not copied.
  Names before = Tree("");
  EXPECT_TRUE(model.DropShellFiles(kRootList, "", dir() + "ws"));
  EXPECT_EQ(Tree(""), before);
}

class ModCommandsTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    base::LoadGlobalSettings(state.settings);
    state.settings.LatestVersionNr = "1.2.5";
    state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1}};
    RegisterModCommands(state.commands);
  }

  void AddMod(const std::string& folder, const std::string& name) {
    test::WriteFile(state.settings.ModDir + folder + "/mod.ini",
                    "Name = " + name + "\r\nVersion = all\r\n");
    test::WriteFile(state.settings.ModDir + folder + "/root.7z", "");
    ScanMods(state.settings, state.versions, state.mods);
  }

  test::ScopedEnvironment trash_{"XDG_DATA_HOME", dir() + "data"};

  int RunOnRow(int id, int row) {
    RightClickMenu(state, ListKind::kMods, row);
    return RunMenuCommand(state, ui, id);
  }

  std::vector<std::string> ModNames() const {
    std::vector<std::string> names;
    for (const ModRecord& mod : state.mods) names.push_back(mod.Name);
    return names;
  }

  // Names the mod and puts one file for the game folder into the workspace.
  void ConfirmWithFile(const std::string& name) {
    test::WriteFile(dir() + "desk/options.txt", "o");
    ui.on_mod_dialog = [this, name](ModDialogModel& model) {
      model.SetName(name);
      model.DropShellFiles(kRootList, "", dir() + "desk/options.txt");
      return true;
    };
  }

  AppState state;
  test::ScriptedUi ui;
};

class ModImportTest : public ModCommandsTest {
 protected:
  std::string Import(const std::string& archive) {
    return ImportMod(state.settings, state.versions, ui, dir() + archive);
  }

  // A mod as people pack it: one top folder with the usual layout.
  void MakeModSource() {
    test::WriteFile(dir() + "src/Fancy Mod/mods/fancy.jar", "fancy");
    test::WriteFile(dir() + "src/Fancy Mod/minecraft.jar/Fancy.class", "class");
    test::WriteFile(dir() + "src/Fancy Mod/readme.txt", "read me");
  }

  // Answers the dialog and remembers what it showed.
  void Confirm(bool confirm) {
    ui.on_mod_dialog = [this, confirm](ModDialogModel& model) {
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

  std::string shown_name, shown_version;
  Names shown_root;
};

// Only zip and 7z, in any letter case, are taken; a cancelled dialog leaves no trace.
TEST_F(ModImportTest, AConfirmedArchiveBecomesAModOfTheLibrary) {
  MakeModSource();
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a ../Fancy.Mod.v2.7Z *"), 0);
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a -tzip ../fancy.zip *"), 0);
  Confirm(false);
  for (const char* name : {"a.rar", "a.jar", "zip"}) {
    std::filesystem::copy(dir() + "fancy.zip", name);
    EXPECT_EQ(Import(name), "");
  }
  EXPECT_TRUE(ui.status_shown.empty());
  EXPECT_EQ(Import("fancy.zip"), "");
  EXPECT_EQ(shown_name, "fancy");
  EXPECT_TRUE(test::TreeNames(state.settings.ModDir).empty());
  ExpectNoStaging();

  Confirm(true);
  ui.behind_status_runs = 0;
  std::string made = Import("Fancy.Mod.v2.7Z");
  EXPECT_EQ(shown_name, "Fancy.Mod.v2");
  EXPECT_EQ(shown_version, "1.2.5");
  EXPECT_EQ(shown_root, (Names{"bin/", "config/", "resources/", "mods/", "mods/fancy.jar"}));
  ASSERT_FALSE(made.empty());
  std::string folder = state.settings.ModDir + made.substr(0, made.size() - 1) + "/";
  EXPECT_EQ(test::ProgramListing(folder + "minecraftjar.7z"), (Names{"Fancy.class"}));
  EXPECT_EQ(test::ReadFile(folder + "mod.ini"), "Name = Fancy.Mod.v2\r\nVersion = 1.2.5\r\n");
  EXPECT_EQ(ui.behind_status_runs, 2);  // unpacking, then packing
  EXPECT_TRUE(ui.messages.empty());
  ExpectNoStaging();
}

TEST_F(ModImportTest, NothingOfAHostileArchiveIsWrittenOutsideTheStagingFolder) {
  Confirm(false);
  for (std::string kind : {"parent", "absolute", "link"}) {
    SCOPED_TRACE(kind);
    std::string args = "hostile '" + dir() + "evil.zip' " + kind;
    if (kind == "absolute") args += " '" + dir() + "absolute-escape.txt'";
    ASSERT_EQ(test::MakeZipWithPython(args), 0);
    Names before = test::TreeNames(dir());
    Import("evil.zip");
    EXPECT_EQ(test::TreeNames(dir()), before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir()).parent_path().parent_path() /
                                         "escape.txt"));
    ExpectNoStaging();
  }
}

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
    EXPECT_EQ(Import(file), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with(message)) << ui.messages[0].text;
    ExpectNoStaging();
  }
  EXPECT_TRUE(shown_name.empty());
}

// A packing failure is shown; either way no workspace stays.
TEST_F(ModCommandsTest, NewModIsPackedScannedAndShown) {
  ConfirmWithFile("Made here");
  EXPECT_EQ(RunOnRow(kCmdNewMod, -1), 1);
  EXPECT_EQ(ModNames(), (std::vector<std::string>{"Made here"}));
  EXPECT_EQ(state.mods[0].Version, "1.2.5");
  std::string made = state.mods[0].Dir;
  EXPECT_TRUE(
      std::filesystem::exists(state.settings.ModDir + made.erase(made.size() - 1) + "/root.7z"));
  EXPECT_EQ(ui.lists_changed, (std::vector<ListKind>{ListKind::kMods}));
  EXPECT_FALSE(std::filesystem::exists(state.settings.CacheDir + "testmod"));

  std::filesystem::remove_all(state.settings.ModDir);
  test::WriteFile(state.settings.ModDir.substr(0, state.settings.ModDir.size() - 1), "a file");
  RunOnRow(kCmdNewMod, -1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.starts_with("CreateMod:Can't pack root.7z: "))
      << ui.messages[0].text;
  EXPECT_FALSE(std::filesystem::exists(state.settings.CacheDir + "testmod"));
}

// The same requester as the instance dialog's; cancelled, nothing else happens.
TEST_F(ModCommandsTest, ImportAsksForAFileAsTheInstanceDialogDoes) {
  ConfirmWithFile("ignored");
  EXPECT_EQ(RunOnRow(kCmdImportMod, -1), 1);
  ASSERT_EQ(ui.file_dialogs.size(), 1u);
  FileRequester requester = ModRequester();
  EXPECT_EQ(ui.file_dialogs[0].filters, requester.filters);
  EXPECT_EQ(ui.file_dialogs[0].selected_filter, requester.selected_filter);
  EXPECT_TRUE(ui.lists_changed.empty());
  test::WriteFile(dir() + "pack/mods/a.jar", "a");
  ASSERT_EQ(test::SevenZipProgram(dir() + "pack", "a -tzip ../Pack.zip mods"), 0);
  ui.open_file_answer = dir() + "Pack.zip";
  RunOnRow(kCmdImportMod, -1);
  EXPECT_EQ(ModNames(), (std::vector<std::string>{"ignored"}));
  EXPECT_EQ(ui.lists_changed, (std::vector<ListKind>{ListKind::kMods}));
}

TEST_F(ModCommandsTest, RenameWritesTheDescriptorAndAnEmptyAnswerKeepsTheName) {
  AddMod("m", "Old");
  ui.input_answer = "";
  RunOnRow(kCmdRenameMod, 0);
  ASSERT_EQ(ui.input_boxes.size(), 1u);
  EXPECT_EQ(ui.input_boxes[0].preset, "Old");
  EXPECT_EQ(ModNames(), (std::vector<std::string>{"Old"}));
  ui.input_answer = "New";
  RunOnRow(kCmdRenameMod, 0);
  EXPECT_EQ(ModNames(), (std::vector<std::string>{"New"}));
  EXPECT_EQ(test::ReadFile(state.settings.ModDir + "m/mod.ini"), "Name = New\r\nVersion = all\r\n");
  EXPECT_EQ(ui.lists_changed, (std::vector<ListKind>{ListKind::kMods}));
}

// Delete takes exactly that folder and row, to the trash; open shows the mod's folder. A row
// that is no longer there does nothing.
TEST_F(ModCommandsTest, DeleteAndOpenActOnExactlyThatRow) {
  for (const char* name : {"a", "b", "c"}) AddMod(name, name);
  test::WriteFile(state.settings.ModDir + "loose.txt", "x");
  RunOnRow(kCmdOpenMod, 2);
  EXPECT_EQ(ui.opened_folders, (std::vector<std::string>{state.settings.ModDir + "c\\"}));
  RunOnRow(kCmdDeleteMod, 1);
  EXPECT_EQ(ModNames(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(test::TreeNames(state.settings.ModDir),
            (std::set<std::string>{"a/", "a/mod.ini", "a/root.7z", "c/", "c/mod.ini", "c/root.7z",
                                   "loose.txt"}));
  EXPECT_TRUE(std::filesystem::exists(dir() + "data/Trash/files/b/mod.ini"));  // can come back

  RightClickMenu(state, ListKind::kMods, 1);
  state.mods.resize(1);
  for (int id : {kCmdRenameMod, kCmdOpenMod, kCmdDeleteMod}) RunMenuCommand(state, ui, id);
  EXPECT_TRUE(ui.input_boxes.empty());
  EXPECT_EQ(ui.opened_folders.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(state.settings.ModDir + "c/mod.ini"));
}

// The instance dialog as commands run it, over the program's state.
class InstanceDialogTest : public ModCommandsTest {
 protected:
  void SetUp() override {
    ModCommandsTest::SetUp();
    AddMod("m1", "Zeppelins");
    AddMod("m2", "Airships");
    state.default_icon.Load(image::Image{1, 1, {1, 2, 3, 4}});
    record.Icon = instances::InstanceIcon(state.default_icon);
    record.Name = "Alpha";
    record.Mods = {"m1\\"};
  }
  Instance record;
};

// The whole way of "Import mod" from inside the dialog: the import and the mod dialog run over
// the dialog, the new mod lands where the right click was and the main window's list follows.
// A file that is no image is refused in a box over the Ui.
TEST_F(InstanceDialogTest, ImportFromTheDialogAddsTheModAtTheRightClickedRow) {
  test::WriteFile(dir() + "src/mods/fancy.zip", "fancy");
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a -tzip ../Fancy.zip *"), 0);
  test::WriteFile(dir() + "fake.jpg", "JFIF? no");
  state.settings.DefaultIconFile = dir() + "Icons/Default.png";
  ui.on_mod_dialog = [](ModDialogModel&) { return true; };
  int logins = 0;
  ui.on_login = [&](LoginForm&) { return ++logins, false; };
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    model.ClickAutoLogin(true);  // the login dialog runs over the Ui
    // Until an icon is chosen, the requester starts where the data folder keeps its icons.
    EXPECT_EQ(model.IconFileRequester().start, dir() + "Icons/");
    model.IconChosen(dir() + "fake.jpg");
    model.SelectRow(ModListSide::kInstalled, 0);
    model.RightClick(ModListSide::kInstalled);
    model.ImportModFromMenu(dir() + "Fancy.zip");
    return true;
  };
  EXPECT_TRUE(InstanceDialog(state, ui, record));
  EXPECT_EQ(logins, 1);
  ASSERT_EQ(record.Mods.size(), 2u);
  EXPECT_EQ(record.Mods[1], "m1\\");
  EXPECT_TRUE(platform::IsFile(state.settings.ModDir + record.Mods[0] + "root.7z"));
  EXPECT_EQ(state.mods.size(), 3u);
  EXPECT_EQ(ui.lists_changed, (std::vector<ListKind>{ListKind::kMods}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Fileformat is not supported!\n" + dir() + "fake.jpg");
  EXPECT_TRUE(record.Icon.IsDefault());
  ui.on_instance_dialog = [](InstanceDialogModel& model) {
    model.fields().title = "Renamed";
    return false;
  };
  EXPECT_FALSE(InstanceDialog(state, ui, record));
  EXPECT_EQ(record.Name, "Alpha");
}

}  // namespace
}  // namespace oxlip::app

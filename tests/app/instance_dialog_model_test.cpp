#include "app/instance_dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/login_form.h"
#include "launch/login_crypt.h"
#include "support/icon_images.h"
#include "support/temp_folder.h"

namespace oxlip::app {
namespace {

using Side = ModListSide;

ModRecord Mod(const std::string& dir, const std::string& key) {
  return {dir + "\\", "1.2.5", "Mod " + dir, key};
}

std::vector<std::string> Dirs(std::initializer_list<const char*> names) {
  std::vector<std::string> dirs;
  for (const char* name : names) dirs.push_back(std::string(name) + "\\");
  return dirs;
}

// A library of five mods in sort-key order and two stored versions; services that record
// what they were asked and answer from the test.
class DialogModelTest : public test::InTempFolder {
 protected:
  DialogModelTest() {
    library = {Mod("a", "1_a"), Mod("b", "1_b"), Mod("c", "2_c"), Mod("d", "2_d"), Mod("e", "3_e")};
    record.Icon = InstanceIcon(default_icon);
    record.Name = "Alpha";
    services.new_mod = [this] {
      ++new_mod_calls;
      AddToLibrary(new_mod_answer);
      return new_mod_answer;
    };
    services.import_mod = [this](const std::string& file) {
      imported.push_back(file);
      AddToLibrary(new_mod_answer);
      return new_mod_answer;
    };
    services.scan_mods = [this] {
      ++scans;
      return library;
    };
    services.show_message = [this](const std::string& title, const std::string& text) {
      messages.push_back(title + "|" + text);
    };
  }

  void AddToLibrary(const std::string& dir) {
    if (dir.empty()) return;
    library.push_back({dir, "1.2.5", "New", "1_aa"});
    std::sort(library.begin(), library.end(),
              [](const ModRecord& x, const ModRecord& y) { return x.SortKey < y.SortKey; });
  }

  InstanceDialogModel& Open() {
    model = std::make_unique<InstanceDialogModel>(record, versions, library, services);
    return *model;
  }

  static std::vector<std::string> RowDirs(const ModRows& rows) { return rows.Dirs(); }

  DefaultIcon default_icon{image::Image{1, 1, {9, 9, 9, 9}}};
  Instance record;
  std::vector<std::string> versions{"minecraft - 1.2.5.jar", "minecraft - 1.1.jar"};
  ModList library;
  InstanceDialogModel::Services services;
  std::unique_ptr<InstanceDialogModel> model;
  std::string new_mod_answer = "new\\";
  int new_mod_calls = 0;
  int scans = 0;
  std::vector<std::string> imported;
  std::vector<std::string> messages;
};

// --- Opening and confirming --------------------------------------------------------------

using DialogOpenConfirmTest = DialogModelTest;

TEST_F(DialogOpenConfirmTest, UnchangedConfirmDropsVanishedModsAndUnknownPinnedVersion) {
  record.MineCraftFile = "minecraft - 0.9.jar";
  record.SetMemory = 1;
  record.MinMemory = 256;
  record.MaxMemory = 3072;
  record.CustomJava = 1;
  record.JavaPath = "/opt/java/bin/";
  record.Maximize = 1;
  record.AutoBackupSaves = 1;
  record.BackupBeforUpdate = 1;
  record.AltLauncher = "/games/magic.jar";
  record.UseLauncher = 1;
  record.LoginCrypt = "c3RvcmVk";
  record.AutoConnect = 1;
  record.ConnectIP = "host:25565";
  record.BetaVersion = 1234;
  record.Mods = Dirs({"d", "gone", "a"});
  Instance before = record;

  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kPinned);
  EXPECT_EQ(model->fields().version_index, -1);
  model->Confirm();

  EXPECT_EQ(record.MineCraftFile, "");
  EXPECT_EQ(record.Mods, Dirs({"d", "a"}));
  record.MineCraftFile = before.MineCraftFile;
  record.Mods = before.Mods;
  EXPECT_EQ(record.Name, before.Name);
  EXPECT_EQ(record.SetMemory, 1);
  EXPECT_EQ(record.MinMemory, 256);
  EXPECT_EQ(record.MaxMemory, 3072);
  EXPECT_EQ(record.CustomJava, 1);
  EXPECT_EQ(record.JavaPath, before.JavaPath);
  EXPECT_EQ(record.Maximize, 1);
  EXPECT_EQ(record.AutoBackupSaves, 1);
  EXPECT_EQ(record.BackupBeforUpdate, 1);
  EXPECT_EQ(record.AltLauncher, before.AltLauncher);
  EXPECT_EQ(record.UseLauncher, 1);
  EXPECT_EQ(record.LoginCrypt, before.LoginCrypt);
  EXPECT_EQ(record.AutoConnect, 1);
  EXPECT_EQ(record.ConnectIP, before.ConnectIP);
  EXPECT_EQ(record.BetaVersion, 1234);
  EXPECT_EQ(record.IconFile, "");
  EXPECT_EQ(record.Icon.image(), default_icon.image());
}

TEST_F(DialogOpenConfirmTest, KnownPinnedVersionAndOddValuesRoundTrip) {
  record.MineCraftFile = "minecraft - 1.1.jar";
  record.UseLauncher = 7;  // any value but 0 and 1 is the alternate launcher
  record.MinMemory = -5;
  Open();
  EXPECT_EQ(model->fields().version_index, 1);
  EXPECT_EQ(model->fields().launcher, LauncherOption::kAlternate);
  EXPECT_FALSE(model->fields().auto_login);
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "minecraft - 1.1.jar");
  EXPECT_EQ(record.UseLauncher, 2);
  EXPECT_EQ(record.MinMemory, -5);
}

TEST_F(DialogOpenConfirmTest, EditedFieldsReachTheRecord) {
  Open();
  InstanceDialogFields& f = model->fields();
  f.title = "Beta world";
  f.min_memory = "0128";
  f.max_memory = "";  // an empty field is 0; a maximum below the minimum is accepted
  f.set_memory = true;
  f.maximize = true;
  f.launcher = LauncherOption::kMineCraft;
  model->Confirm();
  EXPECT_EQ(record.Name, "Beta world");
  EXPECT_EQ(record.MinMemory, 128);
  EXPECT_EQ(record.MaxMemory, 0);
  EXPECT_EQ(record.SetMemory, 1);
  EXPECT_EQ(record.Maximize, 1);
  EXPECT_EQ(record.UseLauncher, 1);
}

TEST_F(DialogOpenConfirmTest, NothingReachesTheRecordWithoutConfirm) {
  record.Mods = Dirs({"a"});
  Instance before = record;
  Open();
  model->fields().title = "Changed";
  model->SelectVersion(1);
  model->SelectRow(Side::kAvailable, 0);
  model->DoubleClick(Side::kAvailable);
  model->JavaChosen("/usr/bin/java");
  model.reset();
  EXPECT_EQ(record.Name, before.Name);
  EXPECT_EQ(record.MineCraftFile, before.MineCraftFile);
  EXPECT_EQ(record.Mods, before.Mods);
  EXPECT_EQ(record.JavaPath, before.JavaPath);
}

// --- Game version --------------------------------------------------------------------------

using DialogVersionTest = DialogModelTest;

TEST_F(DialogVersionTest, ChannelsShowTheFirstVersionAndPickingOnePins) {
  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kRelease);
  EXPECT_EQ(model->fields().version_index, 0);
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "\\\\release");

  record.MineCraftFile = kBetaChannel;
  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kBeta);
  EXPECT_EQ(model->fields().version_index, 0);
  model->SelectVersion(1);
  EXPECT_EQ(model->fields().version, VersionOption::kPinned);
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "minecraft - 1.1.jar");
}

TEST_F(DialogVersionTest, PinnedWithoutStoredVersionsGivesEmpty) {
  versions.clear();
  Open();
  EXPECT_EQ(model->fields().version_index, -1);
  model->fields().version = VersionOption::kPinned;
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "");
}

// --- Mod lists -----------------------------------------------------------------------------

using DialogModListTest = DialogModelTest;

TEST_F(DialogModListTest, FillSplitsTheLibraryAndKeepsTheRecordsOrder) {
  record.Mods = Dirs({"d", "b"});
  Open();
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"d", "b"}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"a", "c", "e"}));
  EXPECT_EQ(model->installed().TextOf(0), "[1.2.5] Mod d");
}

TEST_F(DialogModListTest, DoubleClicksAppendAndPutBackInLibraryOrder) {
  record.Mods = Dirs({"b"});
  Open();
  model->SelectRow(Side::kAvailable, 2);  // d
  model->DoubleClick(Side::kAvailable);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"b", "d"}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"a", "c", "e"}));
  EXPECT_EQ(model->available().selected(), -1);

  model->SelectRow(Side::kInstalled, 1);
  model->DoubleClick(Side::kInstalled);
  model->SelectRow(Side::kInstalled, 0);
  model->DoubleClick(Side::kInstalled);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"a", "b", "c", "d", "e"}));

  model->DoubleClick(Side::kAvailable);  // nothing selected: nothing moves
  EXPECT_EQ(model->available().size(), 5);
}

TEST_F(DialogModListTest, DragFromAvailableLandsBeforeTheRowDroppedOn) {
  record.Mods = Dirs({"a", "b", "c"});
  Open();
  model->SelectRow(Side::kAvailable, 1);  // e
  EXPECT_EQ(model->StartDrag(Side::kAvailable), kDragFromAvailable);
  model->SelectRow(Side::kInstalled, 1);  // the pointer over the second row
  model->DropMod(Side::kInstalled, kDragFromAvailable);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a", "e", "b", "c"}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"d"}));

  model->SelectRow(Side::kAvailable, 0);
  model->StartDrag(Side::kAvailable);
  model->SelectRow(Side::kInstalled, -1);  // dropped below the rows
  model->DropMod(Side::kInstalled, kDragFromAvailable);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a", "e", "b", "c", "d"}));
}

TEST_F(DialogModListTest, DragWithinInstalledMovesAndSelectsWhereItLanded) {
  record.Mods = Dirs({"a", "b", "c", "d"});
  Open();
  model->SelectRow(Side::kInstalled, 0);
  EXPECT_EQ(model->StartDrag(Side::kInstalled), kDragFromInstalled);
  model->SelectRow(Side::kInstalled, 2);
  model->DropMod(Side::kInstalled, kDragFromInstalled);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"b", "c", "a", "d"}));
  EXPECT_EQ(model->installed().selected(), 2);

  model->SelectRow(Side::kInstalled, 3);
  model->StartDrag(Side::kInstalled);
  model->SelectRow(Side::kInstalled, 0);
  model->DropMod(Side::kInstalled, kDragFromInstalled);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"d", "b", "c", "a"}));

  model->SelectRow(Side::kInstalled, 1);
  model->StartDrag(Side::kInstalled);
  model->SelectRow(Side::kInstalled, -1);
  model->DropMod(Side::kInstalled, kDragFromInstalled);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"d", "c", "a", "b"}));
  EXPECT_EQ(model->installed().selected(), 3);
}

TEST_F(DialogModListTest, DragFromInstalledToAvailableFindsItsSortedPlace) {
  record.Mods = Dirs({"e", "a", "c"});
  Open();
  for (int row : {2, 0, 0}) {
    model->SelectRow(Side::kInstalled, row);
    model->StartDrag(Side::kInstalled);
    model->SelectRow(Side::kAvailable, 0);
    model->DropMod(Side::kAvailable, kDragFromInstalled);
  }
  EXPECT_EQ(RowDirs(model->installed()), Dirs({}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"a", "b", "c", "d", "e"}));
}

TEST_F(DialogModListTest, DropsThatMeanNothingMoveNothing) {
  record.Mods = Dirs({"a", "b"});
  Open();
  // The available list does not take its own drags.
  model->SelectRow(Side::kAvailable, 0);
  model->StartDrag(Side::kAvailable);
  model->DropMod(Side::kAvailable, kDragFromAvailable);
  // A drag that started with nothing selected.
  model->SelectRow(Side::kInstalled, -1);
  model->StartDrag(Side::kInstalled);
  model->DropMod(Side::kAvailable, kDragFromInstalled);
  model->DropMod(Side::kInstalled, kDragFromInstalled);
  // A remembered row that no longer exists: the list shrank after a right click.
  model->SelectRow(Side::kInstalled, 1);
  model->StartDrag(Side::kInstalled);
  model->DoubleClick(Side::kInstalled);
  model->DropMod(Side::kInstalled, kDragFromInstalled);
  model->DropMod(Side::kAvailable, kDragFromInstalled);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a"}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"b", "c", "d", "e"}));
}

// --- New and imported mods -----------------------------------------------------------------

using DialogNewModTest = DialogModelTest;

TEST_F(DialogNewModTest, NewModGoesBeforeTheRightClickedInstalledRow) {
  record.Mods = Dirs({"a", "b", "c", "d"});
  Open();
  model->SelectRow(Side::kInstalled, 2);
  model->RightClick(Side::kInstalled);
  model->NewModFromMenu();
  EXPECT_EQ(scans, 1);
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a", "b", "new", "c", "d"}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"e"}));
  model->Confirm();
  EXPECT_EQ(record.Mods, Dirs({"a", "b", "new", "c", "d"}));
}

TEST_F(DialogNewModTest, RightClickOnAvailableKeepsTheNewModAvailable) {
  record.Mods = Dirs({"c"});
  Open();
  model->SelectRow(Side::kInstalled, 0);
  model->RightClick(Side::kAvailable);
  EXPECT_EQ(model->remembered_row(), -2);
  model->NewModFromMenu();
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"c"}));
  EXPECT_EQ(RowDirs(model->available()), Dirs({"a", "new", "b", "d", "e"}));
}

TEST_F(DialogNewModTest, RightClickWithoutSelectionAppends) {
  record.Mods = Dirs({"c", "a"});
  Open();
  model->RightClick(Side::kInstalled);
  EXPECT_EQ(model->remembered_row(), -1);
  model->ImportModFromMenu("/downloads/x.zip");
  EXPECT_EQ(imported, (std::vector<std::string>{"/downloads/x.zip"}));
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"c", "a", "new"}));
}

TEST_F(DialogNewModTest, NoNewModMeansNoRescanAndNoChange) {
  record.Mods = Dirs({"a"});
  new_mod_answer = "";
  Open();
  model->SelectRow(Side::kAvailable, 1);
  model->SelectRow(Side::kInstalled, 0);
  model->RightClick(Side::kInstalled);
  model->NewModFromMenu();
  model->ImportModFromMenu("/downloads/broken.zip");
  model->ImportModFromMenu("");  // the requester was cancelled
  EXPECT_EQ(new_mod_calls, 1);
  EXPECT_EQ(imported.size(), 1u);
  EXPECT_EQ(scans, 0);
  EXPECT_EQ(model->installed().selected(), 0);
  EXPECT_EQ(model->available().selected(), 1);
}

TEST_F(DialogNewModTest, DroppedFilesImportTheFirstOnly) {
  record.Mods = Dirs({"a", "b"});
  Open();
  model->SelectRow(Side::kInstalled, 1);
  model->DropFiles(Side::kInstalled, "/d/one.zip\n/d/two.zip");
  EXPECT_EQ(imported, (std::vector<std::string>{"/d/one.zip"}));
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a", "new", "b"}));

  new_mod_answer = "other\\";
  model->DropFiles(Side::kAvailable, "/d/other.7z\n");
  EXPECT_EQ(imported.back(), "/d/other.7z");
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a", "new", "b"}));
  EXPECT_EQ(model->available().size(), 4);
}

TEST_F(DialogNewModTest, AnImportedModStaysOutOfACancelledRecord) {
  record.Mods = Dirs({"a"});
  Open();
  model->RightClick(Side::kInstalled);
  model->ImportModFromMenu("/d/x.zip");
  EXPECT_EQ(RowDirs(model->installed()), Dirs({"a", "new"}));
  model.reset();
  EXPECT_EQ(record.Mods, Dirs({"a"}));
}

// --- Automatic login -----------------------------------------------------------------------

class DialogLoginTest : public DialogModelTest {
 protected:
  DialogLoginTest() {
    services.login = [this](launch::Credentials& c) {
      offered.push_back(c.user + "/" + c.password);
      c = {"steve", "secret"};
      return login_answer;
    };
  }
  // What the stored text decodes to.
  static std::string Decoded(const std::string& text) {
    launch::Credentials credentials;
    DecodeLogin(text, credentials);
    return credentials.user + "/" + credentials.password;
  }
  int login_answer = kLoginChosen;
  std::vector<std::string> offered;
};

TEST_F(DialogLoginTest, UncheckingEmptiesTheStoredCredentials) {
  record.LoginCrypt = "abc";
  record.OfflineName = "alex";
  Open();
  EXPECT_TRUE(model->fields().auto_login);
  model->ClickAutoLogin(false);
  model->Confirm();
  EXPECT_EQ(record.LoginCrypt, "");
  EXPECT_EQ(record.OfflineName, "");
  EXPECT_TRUE(offered.empty());
}

TEST_F(DialogLoginTest, CheckingAsksWithTheStoredCredentialsAndKeepsTheNewOnes) {
  record.LoginCrypt = EncodeLogin({"stored-user", "stored-pass"});
  Open();
  model->ClickAutoLogin(false);
  model->ClickAutoLogin(true);
  EXPECT_EQ(offered, (std::vector<std::string>{"stored-user/stored-pass"}));
  EXPECT_TRUE(model->fields().auto_login);
  model->Confirm();
  EXPECT_EQ(Decoded(record.LoginCrypt), "steve/secret");
}

// "Play offline" there keeps the name instead of the credentials; ticked again, the name is
// offered, and a login replaces it.
TEST_F(DialogLoginTest, PlayOfflineRemembersTheNameInsteadOfTheCredentials) {
  record.LoginCrypt = EncodeLogin({"stored-user", "stored-pass"});
  Open();
  model->ClickAutoLogin(false);
  login_answer = kPlayOfflineChosen;
  model->ClickAutoLogin(true);
  EXPECT_TRUE(model->fields().auto_login);
  model->Confirm();
  EXPECT_EQ(record.OfflineName, "steve");
  EXPECT_EQ(record.LoginCrypt, "");

  Open();
  EXPECT_TRUE(model->fields().auto_login);
  model->ClickAutoLogin(false);
  login_answer = kLoginChosen;
  model->ClickAutoLogin(true);
  EXPECT_EQ(offered.back(), "steve/");
  model->Confirm();
  EXPECT_EQ(record.OfflineName, "");
  EXPECT_EQ(Decoded(record.LoginCrypt), "steve/secret");
}

TEST_F(DialogLoginTest, CancelledLoginLeavesTheBoxUnchecked) {
  login_answer = kLoginCancelled;
  Open();
  model->ClickAutoLogin(true);
  // Nothing stored: empty credentials are offered.
  EXPECT_EQ(offered, (std::vector<std::string>{"/"}));
  EXPECT_FALSE(model->fields().auto_login);
  model->Confirm();
  EXPECT_EQ(record.LoginCrypt, "");
}

// --- Icon ----------------------------------------------------------------------------------

using DialogIconTest = DialogModelTest;

TEST_F(DialogIconTest, PreviewIsTheRecordsIconAt48) {
  record.Icon.SetOwn(image::Image{2, 2, std::vector<uint8_t>(16, 7)});
  services.icon_folder = dir() + "Icons/";
  Open();
  ASSERT_TRUE(model->preview());
  EXPECT_EQ(model->preview()->width, 48);
  EXPECT_EQ(model->preview()->height, 48);
  EXPECT_EQ(model->IconFileRequester().start, dir() + "Icons/");
}

TEST_F(DialogIconTest, CancelAfterChoosingAnIconLeavesIconAndFile) {
  record.Icon.SetOwn(image::Image{2, 2, std::vector<uint8_t>(16, 7)});
  record.IconFile = "/old/icon.png";
  const image::Image* own = record.Icon.image();
  test::WritePng(dir() + "pick.png", 5, 4);
  Open();
  model->IconChosen(dir() + "pick.png");
  EXPECT_EQ(model->chosen_icon_file(), dir() + "pick.png");
  EXPECT_EQ(model->IconFileRequester().start, dir() + "pick.png");
  model.reset();
  EXPECT_EQ(record.Icon.image(), own);
  EXPECT_EQ(record.Icon.image()->width, 2);
  EXPECT_EQ(record.IconFile, "/old/icon.png");
}

TEST_F(DialogIconTest, ConfirmedIconReplacesAnOwnImageAndNeverTheDefault) {
  test::WritePng(dir() + "pick.png", 5, 4);
  Open();
  model->IconChosen(dir() + "pick.png");
  model->Confirm();
  ASSERT_FALSE(record.Icon.IsDefault());
  EXPECT_EQ(record.Icon.image()->width, 48);
  EXPECT_EQ(record.IconFile, dir() + "pick.png");
  ASSERT_NE(default_icon.image(), nullptr);
  EXPECT_EQ(default_icon.image()->rgba, (std::vector<uint8_t>{9, 9, 9, 9}));

  // Confirming again without a new choice keeps the image the record has.
  const image::Image* own = record.Icon.image();
  Open();
  model->Confirm();
  EXPECT_EQ(record.Icon.image(), own);
}

TEST_F(DialogIconTest, AFileThatIsNoImageIsReportedAndChangesNothing) {
  test::WriteFile(dir() + "notes.png", "not an image at all");
  Open();
  model->IconChosen(dir() + "notes.png");
  EXPECT_EQ(messages, (std::vector<std::string>{"Oxlip|Fileformat is not supported!\n" + dir() +
                                                "notes.png"}));
  EXPECT_EQ(model->chosen_icon_file(), "");
  ASSERT_TRUE(model->preview());
  EXPECT_EQ(model->preview()->rgba[0], 9);
  model->IconChosen("");  // the requester was cancelled
  EXPECT_EQ(messages.size(), 1u);
  model->Confirm();
  EXPECT_TRUE(record.Icon.IsDefault());
}

// --- File requesters -----------------------------------------------------------------------

using DialogRequesterTest = DialogModelTest;

TEST_F(DialogRequesterTest, TitlesFiltersAndStartFiles) {
  record.JavaPath = "C:\\Java\\bin\\";
  record.AltLauncher = "C:\\Games\\magic.jar";
  Open();
  FileRequester java = JavaRequester(model->fields().java_path, platform::kWindowsConventions);
  EXPECT_EQ(java.title, "Select javaw.exe");
  EXPECT_EQ(java.filters, "javaw.exe|javaw.exe|all|*.*");
  EXPECT_EQ(java.start, "C:\\Java\\bin\\");
  EXPECT_EQ(java.selected_filter, 0);
  EXPECT_EQ(JavaRequester("", platform::kPosixConventions).filters, "java|java|all|*.*");
  FileRequester launcher = model->LauncherFileRequester();
  EXPECT_EQ(launcher.title, "Select alternate launcher");
  EXPECT_EQ(launcher.filters, "jar|*.jar|all|*.*");
  EXPECT_EQ(launcher.start, "C:\\Games\\magic.jar");
  FileRequester mod = model->ModFileRequester();
  EXPECT_EQ(mod.title, "Oxlip - Import mod");
  EXPECT_EQ(mod.filters, "mod|*.zip;*.7z|all|*.*");
  EXPECT_EQ(mod.selected_filter, 1);
  FileRequester icon = model->IconFileRequester();
  EXPECT_EQ(icon.title, "Select a Icon");
  EXPECT_EQ(icon.filters, "Image (BMP,JPG,PNG)|*.bmp;*.jpg;*.png|All|*.*");
}

TEST_F(DialogRequesterTest, ChosenJavaGivesItsFolderAndLauncherItsPath) {
  Open();
  model->JavaChosen("C:\\Program Files\\Java\\bin\\javaw.exe");
  EXPECT_EQ(model->fields().java_path, "C:\\Program Files\\Java\\bin\\");
  model->JavaChosen("/usr/lib/jvm/java-17/bin/java");
  EXPECT_EQ(model->fields().java_path, "/usr/lib/jvm/java-17/bin/");
  model->JavaChosen("");
  model->LauncherChosen("/games/magic.jar");
  model->LauncherChosen("");
  model->Confirm();
  EXPECT_EQ(record.JavaPath, "/usr/lib/jvm/java-17/bin/");
  EXPECT_EQ(record.AltLauncher, "/games/magic.jar");
}

}  // namespace
}  // namespace oxlip::app

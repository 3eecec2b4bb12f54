#include "app/instance_dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

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

// One-letter mod folders: "ab" is {"a\\", "b\\"}.
std::vector<std::string> Dirs(const std::string& letters) {
  std::vector<std::string> dirs;
  for (char letter : letters) dirs.push_back(std::string(1, letter) + "\\");
  return dirs;
}

// The fields the dialog edits or carries, as one text.
std::string Stored(const Instance& r) {
  std::ostringstream out;
  out << r.Name << '|' << r.MineCraftFile << '|' << r.SetMemory << '|' << r.MinMemory << '|'
      << r.MaxMemory << '|' << r.CustomJava << '|' << r.JavaPath << '|' << r.Maximize << '|'
      << r.AutoBackupSaves << '|' << r.BackupBeforUpdate << '|' << r.AltLauncher << '|'
      << r.UseLauncher << '|' << r.LoginCrypt << '|' << r.AutoConnect << '|' << r.ConnectIP << '|'
      << r.BetaVersion << '|' << r.IconFile;
  for (const std::string& mod : r.Mods) out << '|' << mod;
  return out.str();
}

// A library of five mods in sort-key order and two stored versions; services that record
// what they were asked and answer from the test.
class DialogModelTest : public test::InTempFolder {
 protected:
  DialogModelTest() {
    library = {Mod("a", "1_a"), Mod("b", "1_b"), Mod("c", "2_c"), Mod("d", "2_d"), Mod("e", "3_e")};
    record.Icon = instances::InstanceIcon(default_icon);
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

  instances::DefaultIcon default_icon{image::Image{1, 1, {9, 9, 9, 9}}};
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
  before.MineCraftFile = "";
  before.Mods = Dirs({"d", "a"});

  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kPinned);
  EXPECT_EQ(model->fields().version_index, -1);
  model->Confirm();
  EXPECT_EQ(Stored(record), Stored(before));
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
  model->RightClick(Side::kInstalled);
  model->ImportModFromMenu("/d/x.zip");
  model.reset();
  EXPECT_EQ(Stored(record), Stored(before));
}

// --- Game version --------------------------------------------------------------------------

using DialogVersionTest = DialogModelTest;

TEST_F(DialogVersionTest, ChannelsShowTheFirstVersionAndPickingOnePins) {
  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kRelease);
  EXPECT_EQ(model->fields().version_index, 0);
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "\\\\release");

  record.MineCraftFile = instances::kBetaChannel;
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

// Library a..e. A drag from the available list lands before the installed row it is dropped
// on, or last; within the installed list it moves there and stays selected; back to the
// available list it goes to its sorted place. Drags that mean nothing move nothing.
struct DragCase {
  const char* installed;
  Side from;
  int from_row;
  Side to;
  int to_row;
  const char* installed_after;
  const char* available_after;
  int selected_after;  // in the installed list; -2: not checked
};

std::ostream& operator<<(std::ostream& out, const DragCase& c) {
  return out << c.installed << " " << static_cast<int>(c.from) << ":" << c.from_row << " -> "
             << static_cast<int>(c.to) << ":" << c.to_row;
}

class DialogDragTest : public DialogModelTest, public testing::WithParamInterface<DragCase> {};

TEST_P(DialogDragTest, DropMovesTheDraggedMod) {
  const DragCase& c = GetParam();
  record.Mods = Dirs(c.installed);
  Open();
  model->SelectRow(c.from, c.from_row);
  int kind = model->StartDrag(c.from);
  EXPECT_EQ(kind, c.from == Side::kInstalled ? kDragFromInstalled : kDragFromAvailable);
  model->SelectRow(c.to, c.to_row);  // the pointer over that row
  model->DropMod(c.to, kind);
  EXPECT_EQ(RowDirs(model->installed()), Dirs(c.installed_after));
  EXPECT_EQ(RowDirs(model->available()), Dirs(c.available_after));
  if (c.selected_after != -2) {
    EXPECT_EQ(model->installed().selected(), c.selected_after);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DialogDragTest,
    testing::Values(DragCase{"abc", Side::kAvailable, 1, Side::kInstalled, 1, "aebc", "d", -2},
                    DragCase{"abc", Side::kAvailable, 0, Side::kInstalled, -1, "abcd", "e", -2},
                    DragCase{"abcd", Side::kInstalled, 0, Side::kInstalled, 2, "bcad", "e", 2},
                    DragCase{"abcd", Side::kInstalled, 3, Side::kInstalled, 0, "dabc", "e", 0},
                    DragCase{"abcd", Side::kInstalled, 1, Side::kInstalled, -1, "acdb", "e", 3},
                    DragCase{"eac", Side::kInstalled, 2, Side::kAvailable, 0, "ea", "bcd", -2},
                    DragCase{"eac", Side::kInstalled, 1, Side::kAvailable, 1, "ec", "abd", -2},
                    DragCase{"ab", Side::kAvailable, 0, Side::kAvailable, 1, "ab", "cde", -2},
                    DragCase{"ab", Side::kInstalled, -1, Side::kAvailable, 0, "ab", "cde", -2},
                    DragCase{"ab", Side::kInstalled, -1, Side::kInstalled, 0, "ab", "cde", -2}));

// The row remembered at the drag's start no longer exists: the list shrank meanwhile.
TEST_F(DialogModListTest, ADragWhoseRowVanishedMovesNothing) {
  record.Mods = Dirs({"a", "b"});
  Open();
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

// A new or imported mod goes before the right-clicked installed row, last without a selected
// row, and stays available after a right click on the available list.
struct NewModCase {
  const char* installed;
  int selected;
  Side clicked;
  bool import;
  const char* installed_after;
  const char* available_after;
};

std::ostream& operator<<(std::ostream& out, const NewModCase& c) {
  return out << c.installed << " row " << c.selected << (c.import ? " import" : " new");
}

class DialogNewModPlaceTest : public DialogModelTest,
                              public testing::WithParamInterface<NewModCase> {};

TEST_P(DialogNewModPlaceTest, TheNewModLandsWhereTheRightClickWas) {
  const NewModCase& c = GetParam();
  new_mod_answer = "n\\";
  record.Mods = Dirs(c.installed);
  Open();
  model->SelectRow(Side::kInstalled, c.selected);
  model->RightClick(c.clicked);
  if (c.import)
    model->ImportModFromMenu("/downloads/x.zip");
  else
    model->NewModFromMenu();
  EXPECT_EQ(scans, 1);
  EXPECT_EQ(imported.size(), c.import ? 1u : 0u);
  EXPECT_EQ(RowDirs(model->installed()), Dirs(c.installed_after));
  EXPECT_EQ(RowDirs(model->available()), Dirs(c.available_after));
  model->Confirm();
  EXPECT_EQ(record.Mods, Dirs(c.installed_after));
}

INSTANTIATE_TEST_SUITE_P(
    Places, DialogNewModPlaceTest,
    testing::Values(NewModCase{"abcd", 2, Side::kInstalled, false, "abncd", "e"},
                    NewModCase{"c", 0, Side::kAvailable, false, "c", "anbde"},
                    NewModCase{"ca", -1, Side::kInstalled, true, "can", "bde"}));

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

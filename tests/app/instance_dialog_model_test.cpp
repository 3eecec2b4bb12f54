#include "app/instance_dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "app/login_dialog.h"
#include "app/login_form.h"
#include "launch/login_crypt.h"
#include "support/icon_images.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip::app {
namespace {

using Side = ModListSide;

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

// A library of five mods a..e in sort-key order and two stored versions; services that record what
// they were asked and answer from the test.
class DialogModelTest : public test::InTempFolder {
 protected:
  DialogModelTest() {
    for (std::string key : {"1_a", "1_b", "2_c", "2_d", "3_e"})
      library.push_back({key.substr(2) + "\\", "1.2.5", "Mod " + key.substr(2), key});
    record.Icon = instances::InstanceIcon(default_icon);
    services.new_mod = [this] {
      ++new_mod_calls;
      return AddToLibrary(new_mod_answer);
    };
    services.import_mod = [this](const std::string& file) {
      imported.push_back(file);
      return AddToLibrary(new_mod_answer);
    };
    services.scan_mods = [this] {
      ++scans;
      return library;
    };
    services.show_message = [this](const std::string& title, const std::string& text) {
      messages.push_back(title + "|" + text);
    };
    services.login = [this](launch::Credentials& c) {
      offered.push_back(c.user + "/" + c.password);
      c = {"steve", "secret"};
      return login_answer;
    };
  }

  std::string AddToLibrary(const std::string& dir) {
    if (dir.empty()) return dir;
    library.push_back({dir, "1.2.5", "New", "1_aa"});
    std::sort(library.begin(), library.end(),
              [](const ModRecord& x, const ModRecord& y) { return x.SortKey < y.SortKey; });
    return dir;
  }

  InstanceDialogModel& Open() {
    model = std::make_unique<InstanceDialogModel>(record, versions, library, services);
    return *model;
  }
  void ExpectLists(const std::string& installed, const std::string& available) {
    EXPECT_EQ(model->installed().Dirs(), Dirs(installed));
    EXPECT_EQ(model->available().Dirs(), Dirs(available));
  }

  instances::DefaultIcon default_icon{image::Image{1, 1, {9, 9, 9, 9}}};
  Instance record;
  std::vector<std::string> versions{"minecraft - 1.2.5.jar", "minecraft - 1.1.jar"};
  ModList library;
  InstanceDialogModel::Services services;
  std::unique_ptr<InstanceDialogModel> model;
  std::string new_mod_answer = "n\\";
  int new_mod_calls = 0;
  int scans = 0;
  std::vector<std::string> imported;
  std::vector<std::string> messages;
  int login_answer = kLoginChosen;
  std::vector<std::string> offered;  // the credentials the login dialog was opened with
};

using DialogOpenConfirmTest = DialogModelTest;

TEST_F(DialogOpenConfirmTest, OnlyAConfirmStoresAndItDropsVanishedModsAndAnUnknownVersion) {
  record.MineCraftFile = "minecraft - 0.9.jar";
  record.SetMemory = record.CustomJava = record.Maximize = record.AutoBackupSaves = 1;
  record.BackupBeforUpdate = record.UseLauncher = record.AutoConnect = 1;
  record.MinMemory = 256;
  record.MaxMemory = 3072;
  record.JavaPath = "/opt/java/bin/";
  record.AltLauncher = "/games/magic.jar";
  record.LoginCrypt = "c3RvcmVk";
  record.ConnectIP = "host:25565";
  record.BetaVersion = 1234;
  record.Mods = Dirs("dga");  // g is no mod of the library
  Instance before = record;
  Open().fields().title = "Changed";  // nothing reaches the record without a confirm
  model->SelectVersion(1);
  model->SelectRow(Side::kAvailable, 0);
  model->DoubleClick(Side::kAvailable);
  model->JavaChosen("/usr/bin/java");
  model->RightClick(Side::kInstalled);
  model->ImportModFromMenu("/d/x.zip");
  model.reset();
  EXPECT_EQ(Stored(record), Stored(before));
  before.MineCraftFile = "";
  before.Mods = Dirs("da");
  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kPinned);
  EXPECT_EQ(model->fields().version_index, -1);
  EXPECT_EQ(model->installed().TextOf(0), "[1.2.5] Mod d");
  model->Confirm();
  EXPECT_EQ(Stored(record), Stored(before));
  EXPECT_EQ(record.Icon.image(), default_icon.image());
}

TEST_F(DialogOpenConfirmTest, EditedFieldsAndOddValuesReachTheRecord) {
  record.MineCraftFile = "minecraft - 1.1.jar";
  record.UseLauncher = 7;  // any value but 0 and 1 is the alternate launcher
  record.MinMemory = -5;
  Open();
  EXPECT_EQ(model->fields().version_index, 1);
  EXPECT_EQ(model->fields().launcher, LauncherOption::kAlternate);
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "minecraft - 1.1.jar");
  EXPECT_EQ(record.MinMemory, -5);
  EXPECT_EQ(record.UseLauncher, 2);

  InstanceDialogFields& f = Open().fields();
  f.title = "Beta world";
  f.min_memory = "0128";
  f.max_memory = "";  // an empty field is 0; a maximum below the minimum is accepted
  f.set_memory = f.maximize = true;
  f.launcher = LauncherOption::kMineCraft;
  model->Confirm();
  EXPECT_EQ(record.Name, "Beta world");
  EXPECT_EQ(record.MinMemory, 128);
  EXPECT_EQ(record.MaxMemory, 0);
  EXPECT_EQ(record.SetMemory + record.Maximize + record.UseLauncher, 3);
}

using DialogVersionTest = DialogModelTest;

// A channel shows the first stored version; picking one pins it; pinned without any stored version
// gives an empty file.
TEST_F(DialogVersionTest, ChannelsShowTheFirstVersionAndPickingOnePins) {
  Open().Confirm();
  EXPECT_EQ(model->version_files(), versions);
  EXPECT_EQ(model->fields().version, VersionOption::kRelease);
  EXPECT_EQ(record.MineCraftFile, instances::kReleaseChannel);
  record.MineCraftFile = instances::kBetaChannel;
  Open();
  EXPECT_EQ(model->fields().version, VersionOption::kBeta);
  EXPECT_EQ(model->fields().version_index, 0);
  model->SelectVersion(1);
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "minecraft - 1.1.jar");
  versions.clear();
  Open();
  EXPECT_EQ(model->fields().version_index, -1);
  model->fields().version = VersionOption::kPinned;
  model->Confirm();
  EXPECT_EQ(record.MineCraftFile, "");
}

using DialogModListTest = DialogModelTest;

TEST_F(DialogModListTest, DoubleClicksAppendAndPutBackInLibraryOrder) {
  record.Mods = Dirs("db");
  Open();
  ExpectLists("db", "ace");
  model->SelectRow(Side::kAvailable, 1);  // c
  model->DoubleClick(Side::kAvailable);
  ExpectLists("dbc", "ae");
  EXPECT_EQ(model->available().selected(), -1);
  for (int row : {2, 0, 0}) {
    model->SelectRow(Side::kInstalled, row);
    model->DoubleClick(Side::kInstalled);
  }
  ExpectLists("", "abcde");
  model->DoubleClick(Side::kAvailable);  // nothing selected: nothing moves
  EXPECT_EQ(model->available().size(), 5);
}

// A drag from the available list lands before the installed row it is dropped on, or last; within
// the installed list it moves there and stays selected; back to the available list it goes to its
// sorted place. Drags that mean nothing move nothing.
TEST_F(DialogModListTest, DropMovesTheDraggedMod) {
  constexpr Side kIn = Side::kInstalled, kAv = Side::kAvailable;
  const struct {
    const char* installed;
    Side from;
    int from_row;
    Side to;
    int to_row;
    const char *installed_after, *available_after;
    int selected_after;  // in the installed list; -2: not checked
  } cases[] = {{"abc", kAv, 1, kIn, 1, "aebc", "d", -2},  {"abc", kAv, 0, kIn, -1, "abcd", "e", -2},
               {"abcd", kIn, 0, kIn, 2, "bcad", "e", 2},  {"abcd", kIn, 3, kIn, 0, "dabc", "e", 0},
               {"abcd", kIn, 1, kIn, -1, "acdb", "e", 3}, {"eac", kIn, 2, kAv, 0, "ea", "bcd", -2},
               {"eac", kIn, 1, kAv, 1, "ec", "abd", -2},  {"ab", kAv, 0, kAv, 1, "ab", "cde", -2},
               {"ab", kIn, -1, kAv, 0, "ab", "cde", -2},  {"ab", kIn, -1, kIn, 0, "ab", "cde", -2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.installed << " " << static_cast<int>(c.from) << ":" << c.from_row << " -> "
                 << static_cast<int>(c.to) << ":" << c.to_row);
    record.Mods = Dirs(c.installed);
    Open().SelectRow(c.from, c.from_row);
    int kind = model->StartDrag(c.from);
    EXPECT_EQ(kind, c.from == kIn ? kDragFromInstalled : kDragFromAvailable);
    model->SelectRow(c.to, c.to_row);  // the pointer over that row
    model->DropMod(c.to, kind);
    ExpectLists(c.installed_after, c.available_after);
    int selected = model->installed().selected();
    EXPECT_EQ(c.selected_after == -2 ? -2 : selected, c.selected_after);
  }
  // The row remembered at the drag's start no longer exists: the list shrank meanwhile.
  record.Mods = Dirs("ab");
  Open().SelectRow(kIn, 1);
  model->StartDrag(kIn);
  model->DoubleClick(kIn);
  model->DropMod(kIn, kDragFromInstalled);
  model->DropMod(kAv, kDragFromInstalled);
  ExpectLists("a", "bcde");
}

// A new or imported mod goes before the right-clicked installed row, last without a selected row,
// and stays available after a right click on the available list; dropped files import the first.
TEST_F(DialogModListTest, TheNewModLandsWhereTheRightClickWas) {
  const ModList five = library;
  const struct {
    const char* installed;
    int selected;
    Side clicked;
    const char* import;  // "" for a new mod
    const char *installed_after, *available_after;
  } cases[] = {{"abcd", 2, Side::kInstalled, "", "abncd", "e"},
               {"c", 0, Side::kAvailable, "", "c", "anbde"},
               {"ca", -1, Side::kInstalled, "/d/x.zip", "can", "bde"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.installed);
    library = five;
    scans = 0;
    imported.clear();
    record.Mods = Dirs(c.installed);
    Open().SelectRow(Side::kInstalled, c.selected);
    model->RightClick(c.clicked);
    if (*c.import)
      model->ImportModFromMenu(c.import);
    else
      model->NewModFromMenu();
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(imported.size(), *c.import ? 1u : 0u);
    ExpectLists(c.installed_after, c.available_after);
    model->Confirm();
    EXPECT_EQ(record.Mods, Dirs(c.installed_after));
  }
  library = five;
  imported.clear();
  record.Mods = Dirs("ab");
  Open().SelectRow(Side::kInstalled, 1);
  model->DropFiles(Side::kInstalled, "/d/one.zip\r\n/d/two.zip");
  EXPECT_EQ(imported, (std::vector<std::string>{"/d/one.zip"}));
  ExpectLists("anb", "cde");
  new_mod_answer = "o\\";
  model->DropFiles(Side::kAvailable, "/d/other.7z\n");
  EXPECT_EQ(imported.back(), "/d/other.7z");
  ExpectLists("anb", "ocde");
}

TEST_F(DialogModListTest, NoNewModMeansNoRescanAndNoChange) {
  record.Mods = Dirs("a");
  new_mod_answer = "";
  Open().SelectRow(Side::kAvailable, 1);
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

using DialogLoginTest = DialogModelTest;

// Unchecked, nothing is stored; a cancelled login leaves the box unchecked.
TEST_F(DialogLoginTest, UncheckingOrACancelledLoginStoresNothing) {
  record.LoginCrypt = "abc";
  record.OfflineName = "alex";
  Open();
  EXPECT_TRUE(model->fields().auto_login);
  model->ClickAutoLogin(false);
  model->Confirm();
  EXPECT_EQ(record.LoginCrypt + record.OfflineName, "");
  login_answer = kLoginCancelled;
  Open().ClickAutoLogin(true);
  EXPECT_EQ(offered, (std::vector<std::string>{"/"}));  // nothing stored: empty credentials
  EXPECT_FALSE(model->fields().auto_login);
  model->Confirm();
  EXPECT_EQ(record.LoginCrypt, "");
}

// Checking asks with the stored credentials; "Play offline" there keeps the name instead of the
// credentials; ticked again, the name is offered, and a login replaces it.
TEST_F(DialogLoginTest, CheckingAsksAndKeepsTheCredentialsOrTheOfflineName) {
  record.LoginCrypt = EncodeLogin({"stored-user", "stored-pass"});
  Open().ClickAutoLogin(false);
  login_answer = kPlayOfflineChosen;
  model->ClickAutoLogin(true);
  EXPECT_EQ(offered, (std::vector<std::string>{"stored-user/stored-pass"}));
  model->Confirm();
  EXPECT_EQ(record.OfflineName, "steve");
  EXPECT_EQ(record.LoginCrypt, "");

  Open();
  EXPECT_TRUE(model->fields().auto_login);
  model->ClickAutoLogin(false);
  login_answer = kLoginChosen;
  model->ClickAutoLogin(true);
  EXPECT_EQ(offered.back(), "steve/");
  EXPECT_TRUE(model->fields().auto_login);
  model->Confirm();
  EXPECT_EQ(record.OfflineName, "");
  launch::Credentials stored;
  DecodeLogin(record.LoginCrypt, stored);
  EXPECT_EQ(stored.user + "/" + stored.password, "steve/secret");
}

using DialogIconTest = DialogModelTest;

// The preview is the record's icon at 48; a choice shows at once, and only a confirm puts it in the
// record, replacing an own image and never the shared default.
TEST_F(DialogIconTest, AChosenIconIsPreviewedAndReachesTheRecordOnlyOnConfirm) {
  record.Icon.SetOwn(image::Image{2, 2, std::vector<uint8_t>(16, 7)});
  record.IconFile = "/old/icon.png";
  const image::Image* own = record.Icon.image();
  services.icon_folder = dir() + "Icons/";
  test::WritePng(dir() + "pick.png", 5, 4);
  Open();
  EXPECT_EQ(model->preview()->width, 48);
  EXPECT_EQ(model->IconFileRequester().start, "/old/icon.png");
  model->IconChosen(dir() + "pick.png");
  EXPECT_EQ(model->IconFileRequester().start, dir() + "pick.png");
  model.reset();
  EXPECT_EQ(record.Icon.image(), own);
  EXPECT_EQ(record.IconFile, "/old/icon.png");

  record.Icon = instances::InstanceIcon(default_icon);
  record.IconFile = "";
  EXPECT_EQ(Open().IconFileRequester().start, dir() + "Icons/");
  model->IconChosen(dir() + "pick.png");
  model->Confirm();
  ASSERT_FALSE(record.Icon.IsDefault());
  EXPECT_EQ(record.Icon.image()->width, 48);
  EXPECT_EQ(record.IconFile, dir() + "pick.png");
  EXPECT_EQ(default_icon.image()->rgba, (std::vector<uint8_t>{9, 9, 9, 9}));
  own = record.Icon.image();
  Open().Confirm();  // no new choice: the record keeps its image
  EXPECT_EQ(record.Icon.image(), own);
}

TEST_F(DialogIconTest, AFileThatIsNoImageIsReportedAndChangesNothing) {
  test::WriteFile(dir() + "notes.png", "not an image at all");
  Open().IconChosen(dir() + "notes.png");
  EXPECT_EQ(messages, (std::vector<std::string>{"Oxlip|Fileformat is not supported!\n" + dir() +
                                                "notes.png"}));
  EXPECT_EQ(model->chosen_icon_file(), "");
  EXPECT_EQ(model->preview()->rgba[0], 9);
  model->IconChosen("");  // the requester was cancelled
  EXPECT_EQ(messages.size(), 1u);
  model->Confirm();
  EXPECT_TRUE(record.Icon.IsDefault());
}

// The requesters start at the field's file; a chosen Java gives its folder.
using DialogRequesterTest = DialogModelTest;

TEST_F(DialogRequesterTest, RequestersStartAtTheFieldAndChosenFilesFillIt) {
  record.JavaPath = "C:\\Java\\bin\\";
  record.AltLauncher = "C:\\Games\\magic.jar";
  Open();
  FileRequester java = JavaRequester(model->fields().java_path, platform::kWindowsConventions);
  EXPECT_EQ(java.filters, "javaw.exe|javaw.exe|all|*.*");
  EXPECT_EQ(java.start, "C:\\Java\\bin\\");
  EXPECT_EQ(JavaRequester("", platform::kPosixConventions).filters, "java|java|all|*.*");
  EXPECT_EQ(model->LauncherFileRequester().start, "C:\\Games\\magic.jar");
  EXPECT_EQ(model->ModFileRequester().filters, ModRequester().filters);
  model->JavaChosen("C:\\Program Files\\Java\\bin\\javaw.exe");
  EXPECT_EQ(model->fields().java_path, "C:\\Program Files\\Java\\bin\\");
  model->JavaChosen("/usr/lib/jvm/java-17/bin/java");
  model->JavaChosen("");
  model->LauncherChosen("/games/magic.jar");
  model->LauncherChosen("");
  model->Confirm();
  EXPECT_EQ(record.JavaPath, "/usr/lib/jvm/java-17/bin/");
  EXPECT_EQ(record.AltLauncher, "/games/magic.jar");
}

TEST(LoginDialog, FocusAndTheTextsAsTypedButCancelKeepsTheOldOnes) {
  EXPECT_EQ(LoginForm(launch::Credentials{"", "secret"}).InitialFocus(), LoginField::kName);
  EXPECT_EQ(LoginForm(launch::Credentials{"steve", ""}).InitialFocus(), LoginField::kPassword);
  test::ScriptedUi ui;
  launch::Credentials credentials{"steve", "old"};
  ui.on_login = [](LoginForm& form) {
    form.SetUser(" alex ");
    form.Accept();
    return true;
  };
  EXPECT_EQ(LoginDialog(ui, credentials), kLoginChosen);
  EXPECT_EQ(credentials.user + credentials.password, " alex old");
  ui.on_login = [](LoginForm& form) {
    form.SetUser("typed, then cancelled");
    form.Cancel();
    return false;
  };
  EXPECT_EQ(LoginDialog(ui, credentials), kLoginCancelled);
  EXPECT_EQ(credentials.user, " alex ");
  ui.on_login = [](LoginForm& form) {
    form.SetUser("offline name");
    form.PlayOffline();
    return true;
  };
  EXPECT_EQ(LoginDialog(ui, credentials), kPlayOfflineChosen);
  EXPECT_EQ(credentials.user, "offline name");
}

}  // namespace
}  // namespace oxlip::app

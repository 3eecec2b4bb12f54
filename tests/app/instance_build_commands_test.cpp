// The instance and version commands and instance updates, end to end: the scripted Ui answers the
// dialogs, the fixture mirror serves the game, real folders, archives and a real version store.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/command_registry.h"
#include "app/empty_list_hint.h"
#include "app/instance_dialog_model.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/startup_update.h"
#include "app/update_instance.h"
#include "app/version_check.h"
#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/md5.h"
#include "prefs/pref_file.h"
#include "support/app_world.h"
#include "support/downgrade_fixture.h"
#include "support/fixture_paths.h"
#include "support/icon_images.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/scoped_environment.h"
#include "support/write_limit.h"
#include "versions/version_index.h"
#include "versions/version_store.h"

namespace oxlip {
namespace {

using app::InstanceDialogModel;
using RowChanges = std::vector<std::pair<int, app::RowChange>>;
namespace fs = std::filesystem;

class InstanceBuild : public test::AppWorld {
 protected:
  InstanceBuild() { app::RegisterCommands(state.commands); }

  // The dialog confirms, with `title` typed when one is given.
  void Confirm(std::string title = "") {
    ui.on_instance_dialog = [title](InstanceDialogModel& model) {
      if (!title.empty()) model.fields().title = title;
      return true;
    };
  }
  int Run(int id, int row = -1) {
    if (row >= 0) app::RightClickMenu(state, app::ListKind::kInstances, row);
    return app::RunMenuCommand(state, ui, id);
  }
  std::string Game(const Instance& record) {
    return state.settings.InstancesDir + record.Folder + "/.minecraft/";
  }
  test::ScopedEnvironment data_{"XDG_DATA_HOME", dir() + "data"};
};

// A cancelled dialog, and a new instance whose download fails, add nothing.
TEST_F(InstanceBuild, ACancelledDialogOrAFailedUpdateAddsNothing) {
  for (int id : {app::kCmdNewInstance, app::kCmdImportOriginal}) EXPECT_EQ(Run(id), 1);
  state.settings.MCURL = "http://127.0.0.1:9/download/";
  Confirm();
  EXPECT_EQ(Run(app::kCmdNewInstance), 0);
  EXPECT_TRUE(state.instances.empty());
  EXPECT_TRUE(Listed(state.settings.InstancesDir).empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "DownloadMinecraft: Can't download download-file-list");
}

class WithInstance : public InstanceBuild {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ServeGame());
    Confirm("A");
    ASSERT_EQ(Run(app::kCmdNewInstance), 1) << base::LastErrorText();
    source = state.instance_list[0];
    test::WriteFile(Game(*source) + "saves/World1/level.dat", "level");
    platform::SetFileDate(Game(*source) + "saves/World1/level.dat", 1300000000);
    state.settings.AppData = dir() + "home";
    test::WriteFile(dir() + "home/.minecraft/options.txt", "music:0");
  }
  Instance* source = nullptr;
};

// Worlds kept on another disk are copied through the link; a broken link is named. The clone's
// icon is its own copy: a later save does not take the source's new icon.
TEST_F(WithInstance, CloneProposesACopyTitleAndCopiesTheGameFolderWithItsTimesAndIcon) {
  ASSERT_TRUE(platform::RenameFile(Game(*source) + "saves", dir() + "other-disk-saves"));
  ASSERT_EQ(::symlink((dir() + "other-disk-saves").c_str(), (Game(*source) + "saves").c_str()), 0);
  ASSERT_EQ(::symlink("gone", (Game(*source) + "broken").c_str()), 0);
  const std::string source_icon = state.settings.InstancesDir + source->Folder + "/icon.bmp";
  test::WriteBmp(source_icon, 3, 3);
  const std::string icon = test::ReadFile(source_icon);
  std::string proposed;
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    proposed = model.fields().title;
    return true;
  };
  ASSERT_EQ(Run(app::kCmdClone, 0), 1) << base::LastErrorText();
  EXPECT_EQ(proposed, "A - copy");
  ASSERT_EQ(state.instance_list.size(), 2u);
  const Instance& clone = *state.instance_list[1];
  EXPECT_NE(clone.Folder.find(" - A_-_copy"), std::string::npos);
  EXPECT_EQ(test::ReadFile(Game(clone) + "saves/World1/level.dat"), "level");
  EXPECT_EQ(platform::FileDate(Game(clone) + "saves/World1/level.dat"), 1300000000);
  EXPECT_EQ(ui.status_shown.back().text, "A - copy");
  EXPECT_FALSE(ui.status_open);
  EXPECT_EQ(ui.instance_rows_changed.back(), RowChanges::value_type(1, app::RowChange::kAdded));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("Clone: ", 0), 0u);
  EXPECT_NE(ui.messages[0].text.find("\nbroken"), std::string::npos) << ui.messages[0].text;

  const std::string clone_icon = state.settings.InstancesDir + clone.Folder + "/icon.bmp";
  EXPECT_EQ(test::ReadFile(clone_icon), icon);
  test::WriteBmp(source_icon, 4, 4);
  Confirm("Renamed");
  ASSERT_EQ(Run(app::kCmdConfig, 1), 1);
  EXPECT_EQ(test::ReadFile(clone_icon), icon);
}

// On a full disk the failure is shown by the command's name; a cancel before the second file
// shows nothing. Either way no half-made folder is left for the next start to list.
TEST_F(WithInstance, AFailedOrCancelledCopyLeavesTheInstancesAsBefore) {
  test::WriteFile(dir() + "home/.minecraft/saves/World1/level.dat", "level");
  const test::JarFiles before = test::ReadTree(state.settings.InstancesDir);
  const struct {
    int id, row;
    std::string name;
  } commands[] = {{app::kCmdClone, 0, "Clone"},
                  {app::kCmdImportOriginal, -1, "Import from original"}};
  for (const auto& command : commands) {
    SCOPED_TRACE(command.name);
    Confirm();
    std::optional<std::string> shown = test::InChildWithWriteLimit(1, [&] {
      bool failed = Run(command.id, command.row) == 0 && state.instance_list.size() == 1;
      return failed ? ui.messages.back().text : "";
    });
    EXPECT_TRUE(shown && shown->starts_with(command.name + ": Can't copy ")) << shown.value_or("");
    EXPECT_EQ(test::ReadTree(state.settings.InstancesDir), before);

    ui.status_progress.asks = 0;
    ui.status_progress.cancel_after_asks = 1;
    EXPECT_EQ(Run(command.id, command.row), 0);
    ui.status_progress.cancel_after_asks = -1;
    EXPECT_EQ(state.instance_list.size(), 1u);
    EXPECT_EQ(test::ReadTree(state.settings.InstancesDir), before);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.status_open);
  }
}

TEST_F(WithInstance, ImportFromOriginalCopiesTheUsersOwnGameFolder) {
  Confirm();
  ASSERT_EQ(Run(app::kCmdImportOriginal), 1) << base::LastErrorText();
  const Instance& imported = *state.instance_list.back();
  EXPECT_EQ(imported.Name, "Imported");
  EXPECT_EQ(test::ReadFile(Game(imported) + "options.txt"), "music:0");
  EXPECT_TRUE(platform::IsFile(Game(imported) + "bin/MinecraftLauncher.jar"));
}

// The new instance of the set-up is built, listed and saved; a config rebuilds it only when the
// version or the mods change.
TEST_F(WithInstance, ConfigRebuildsOnlyWhenTheVersionOrTheModsChange) {
  EXPECT_EQ(ui.instance_rows_changed, (RowChanges{{0, app::RowChange::kAdded}}));
  EXPECT_EQ(source->Name, "A");
  EXPECT_EQ(source->BetaVersion, 0);  // the release date is only known after the start-up check
  EXPECT_TRUE(platform::IsFile(state.settings.InstancesDir + source->Folder + "/settings.ini"));
  EXPECT_TRUE(platform::IsFile(Game(*source) + "bin/minecraft.jar"));
  Confirm("Renamed");
  ASSERT_EQ(Run(app::kCmdConfig, 0), 1);
  EXPECT_EQ(source->Name, "Renamed");
  // Only its row is drawn again, and it is the row selected afterwards.
  EXPECT_EQ(ui.instance_rows_changed.back(), RowChanges::value_type(0, app::RowChange::kEdited));
  EXPECT_EQ(ui.selected_instance_rows, std::vector<int>{0});
  EXPECT_EQ(ui.progress_windows.size(), 1u);  // only the one of the creation

  test::WriteFile(state.settings.VersionsDir + "minecraft - 1.1.jar",
                  test::ReadFile(test::FixtureRoot() + "assets/1_1/minecraft.jar"));
  ScanVersions(state.settings, state.versions);
  ui.on_instance_dialog = [](InstanceDialogModel& model) { return model.SelectVersion(0), true; };
  ASSERT_EQ(Run(app::kCmdConfig, 0), 1);
  EXPECT_EQ(source->MineCraftFile, "minecraft - 1.1.jar");
  EXPECT_EQ(ui.progress_windows.size(), 2u);
  EXPECT_EQ(test::ReadFile(Game(*source) + "bin/minecraft.jar"),
            test::ReadFile(test::FixtureRoot() + "assets/1_1/minecraft.jar"));
}

TEST_F(WithInstance, ADeleteTheTrashRefusesKeepsTheInstanceListedAndSaysSo) {
  std::string folder(250, 'f');  // its trash record's name would be too long
  ASSERT_TRUE(platform::RenameFile(state.settings.InstancesDir + source->Folder,
                                   state.settings.InstancesDir + folder));
  source->Folder = folder;
  ASSERT_EQ(Run(app::kCmdDelete, 0), 1);
  EXPECT_EQ(state.instance_list.size(), 1u);
  EXPECT_TRUE(platform::IsFolder(state.settings.InstancesDir + folder + "\\.minecraft"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("Can't move"), std::string::npos);
}

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, n);
  if (pipe) ::pclose(pipe);
  return out;
}

// The desktop's own tools list what "Delete" put in the trash by its original path and bring it
// back whole: from the user's trash, and through an "Instances" folder linked to another disk
// (where there is one) from that disk's trash.
class DeleteToTrash : public WithInstance, public testing::WithParamInterface<bool> {
 protected:
  void TearDown() override {
    if (!other_disk_.empty()) fs::remove_all(other_disk_);
  }
  // Moves the instances folder to another disk and puts a link to it in its place.
  void LinkInstancesFolder() {
    other_disk_ = "/dev/shm/oxlip-delete-" + std::to_string(::getpid());
    struct stat shm, here;
    if (::mkdir(other_disk_.c_str(), 0700) != 0 || ::stat(other_disk_.c_str(), &shm) != 0 ||
        ::stat(dir().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
      other_disk_ = dir() + "other-disk";  // a link all the same
    std::string instances = state.settings.InstancesDir;
    instances.pop_back();
    fs::create_directories(other_disk_);
    fs::copy(instances, other_disk_ + "/Instances", fs::copy_options::recursive);
    fs::remove_all(instances);
    fs::create_symlink(other_disk_ + "/Instances", instances);
  }
  std::string other_disk_;
};

TEST_P(DeleteToTrash, TrashCliListsTheOriginalPathAndRestoresTheInstanceWhole) {
  if (std::system("command -v trash-list >/dev/null && command -v trash-restore >/dev/null") != 0)
    GTEST_SKIP() << "trash-cli is not installed";
  if (GetParam()) LinkInstancesFolder();
  std::string folder = state.settings.InstancesDir + source->Folder;
  std::string original = fs::canonical(folder).string();
  const test::JarFiles before = test::ReadTree(original);
  ASSERT_EQ(Run(app::kCmdDelete, 0), 1);
  ASSERT_TRUE(ui.messages.empty()) << ui.messages.back().text;
  ASSERT_FALSE(platform::Exists(folder));
  EXPECT_TRUE(state.instance_list.empty());
  EXPECT_EQ(ui.instance_rows_changed.back(), RowChanges::value_type(0, app::RowChange::kRemoved));
  std::string listed = Output("trash-list");
  EXPECT_NE(listed.find(" " + original + "\n"), std::string::npos) << listed;
  Output("echo 0 | trash-restore '" + original + "' 2>&1");
  EXPECT_EQ(test::ReadTree(original), before);
}

INSTANTIATE_TEST_SUITE_P(Instances, DeleteToTrash, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Linked" : "Plain";
                         });

TEST_F(WithInstance, StartUpUpdatesTriesEveryChannelInstanceAndReportsOnce) {
  source->BetaVersion = 5;
  ui.on_instance_dialog = [](InstanceDialogModel& model) {
    model.fields().title = "B";
    model.fields().version = app::VersionOption::kBeta;
    return true;
  };
  ASSERT_EQ(Run(app::kCmdNewInstance), 1) << base::LastErrorText();
  state.instance_list[1]->BetaVersion = 7;
  ui.messages.clear();
  // The servers are down and the listings no longer cached: both dates are 0, and both
  // instances differ from that.
  mirror_->Stop();
  for (const std::string& name : Listed(state.settings.CacheDir))
    if (name.ends_with("-index.xml")) platform::DeleteFile(state.settings.CacheDir + name);
  state.dates = {};
  app::UpdateInstancesAtStart(state, ui);
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[2].text, "A update failed\nB update failed (beta)\n");
}

// The version list's commands and the start-up look at the servers, against a real store.
class VersionCommands : public InstanceBuild {
 protected:
  int Run(int id, int row = -1) {
    state.selection.row = row;
    return app::RunMenuCommand(state, ui, id);
  }
  // Drops a copy of the fixture's jar of `version` named `name`.
  int Drop(const std::string& version, const std::string& name) {
    test::WriteFile(dir() + "in/" + name, test::ReadFile(Fixture(version + "/minecraft.jar")));
    return app::DropFiles(state, ui, app::ListKind::kVersions, dir() + "in/" + name);
  }
  std::string Fixture(const std::string& relative) {
    return test::FixtureRoot() + "assets/" + relative;
  }
  std::vector<std::string> StoredVersions() {
    std::vector<std::string> versions;
    for (const VersionEntry& entry : state.versions) versions.push_back(entry.Version);
    return versions;
  }
  bool CacheHoldsBetaFiles() {
    for (const std::string& name : Listed(state.settings.CacheDir))
      if (name.find("downloadbeta") != std::string::npos) return true;
    return false;
  }
};

// Without its listing it stops quietly, behind the status window. A second run finds every name
// taken: nothing is stored twice, nothing is left behind.
TEST_F(VersionCommands, DownloadAllBetaStoresEveryBetaByItsVersionNewestFirst) {
  state.settings.MCASSETSURL = "http://127.0.0.1:9/assets/";
  EXPECT_EQ(Run(app::kCmdDownloadBetas), 1);
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_TRUE(ui.lists_changed.empty());
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Run(app::kCmdDownloadBetas), 1);
    EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"12w08a", "1.1", "1.0", "Beta 1.8.1"}));
    EXPECT_FALSE(CacheHoldsBetaFiles());
  }
  EXPECT_EQ(test::ReadFile(state.settings.VersionsDir + "minecraft - 1.1.jar"),
            test::ReadFile(Fixture("1_1/minecraft.jar")));
  EXPECT_EQ(ui.lists_changed.back(), app::ListKind::kVersions);
}

// The jar is read and copied behind the status window, which names it; the same version again
// replaces the stored jar. A file that is no jar, or one the store cannot take, is reported.
TEST_F(VersionCommands, ADroppedJarIsStoredByItsVersion) {
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Drop("1_0", "Game.JAR"), 1);
    EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.0"});
  }
  EXPECT_EQ(ui.status_shown[0].text, dir() + "in/Game.JAR");
  EXPECT_EQ(ui.behind_status_runs, 2);
  auto index = versions::ParseVersionIndex(test::ReadFile(state.settings.VersionsDir + "ver.ini"));
  EXPECT_EQ(index["minecraft - 1.0.jar"].first, "1.0");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Drop("1_0", "mod.zip"), 0);
  EXPECT_EQ(ui.messages.back().text, "Versions: No Jar file " + dir() + "in/mod.zip");
  state.settings.VersionsDir = dir() + "missing/";
  EXPECT_EQ(Drop("1_0", "x.jar"), 0);
  EXPECT_EQ(ui.messages.back().text, "Versions: File already exist: minecraft - 1.0.jar");
}

TEST_F(VersionCommands, DeleteMovesTheRowsJarToTheTrashAndReloadSeesIt) {
  Drop("1_0", "a.jar");
  Drop("1_1", "b.jar");
  ASSERT_EQ(StoredVersions(), (std::vector<std::string>{"1.1", "1.0"}));
  ASSERT_EQ(Run(app::kCmdDeleteVersion, 1), 1);
  EXPECT_EQ(StoredVersions(), std::vector<std::string>{"1.1"});
  EXPECT_TRUE(platform::IsFile(dir() + "data/Trash/files/minecraft - 1.0.jar"));
  test::WriteFile(state.settings.VersionsDir + "hand.jar",
                  test::ReadFile(Fixture("b1_8/MINECRAFT.JAR")));
  ASSERT_EQ(Run(app::kCmdReloadVersions), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"1.1", "Beta 1.8.1"}));
}

TEST_F(VersionCommands, DowngradeFollowsTheChainAndLeavesNoWorkFolder) {
  const std::string cls = "net\\minecraft\\client\\Minecraft.class";
  test::MakeJar(state.settings.VersionsDir + "minecraft - 1.2.jar",
                {{"net/minecraft/client/Minecraft.class", test::MainClassBytes("1.2")}},
                1330000000);
  Run(app::kCmdReloadVersions);
  for (auto [from, to, date] : {std::tuple{"1.2", "1.1", 1320000000}, {"1.1", "1.0", 1310000000}})
    test::WriteFile(
        state.settings.PatchDir + "minecraft - " + from + "#minecraft - " + to + ".patch",
        test::NewRecord(cls, test::MainClassBytes(to), date));
  ASSERT_EQ(Run(app::kCmdDowngrade, 0), 1);
  EXPECT_EQ(StoredVersions(), (std::vector<std::string>{"1.2", "1.1", "1.0"}));
  EXPECT_FALSE(ui.status_open);
  EXPECT_FALSE(platform::Exists(state.settings.CacheDir + "patch"));
  EXPECT_TRUE(ui.messages.empty());  // the chain's end is no failure
}

class VersionCheck : public VersionCommands {
 protected:
  void Check(app::AppState& checked) {
    app::FindReleaseDates(checked, ui);
    app::AddCurrentVersion(checked, ui);
  }
};

// The next start begins with what the first stored and finds the same date.
TEST_F(VersionCheck, AFirstStartStoresTheReleaseAndTheNextDownloadsNothing) {
  ASSERT_NO_FATAL_FAILURE(ServeGame());
  Check(state);
  EXPECT_EQ(state.dates.remote_release, test::kFixtureReleaseTime);
  EXPECT_EQ(state.dates.newest_beta, test::kFixtureNewestBetaTime);
  EXPECT_EQ(test::ReadFile(state.settings.VersionsDir + "minecraft - " +
                           test::kFixtureReleaseVersion + ".jar"),
            test::ReadFile(test::FixtureRoot() + "download/minecraft.jar"));
  EXPECT_FALSE(platform::Exists(state.settings.CacheDir + "currentversion.jar"));
  EXPECT_EQ(state.settings.LatestVersion, test::kFixtureReleaseTime);
  EXPECT_EQ(state.settings.LatestVersionNr, test::kFixtureReleaseVersion);
  EXPECT_EQ(ui.status_shown.size(), 2u);
  EXPECT_EQ(app::EmptyListHint(state, app::ListKind::kVersions), "");
  app::AppState next;
  next.settings = state.settings;
  Check(next);
  EXPECT_EQ(CountRequests("/download/minecraft.jar"), 1);
  ScanVersions(next.settings, next.versions);
  EXPECT_EQ(next.versions.size(), 1u);
}

// The stored date differs from 0, so adding is tried, fails quietly and changes nothing. Only
// the empty version list tells, naming the host and the file that changes it.
TEST_F(VersionCheck, WithTheServersDownNothingIsShownAndTheDatesStayZero) {
  state.settings.MCURL = "http://127.0.0.1:9/download/";
  state.settings.MCASSETSURL = "http://127.0.0.1:9/assets/";
  state.settings.LatestVersion = 1300000000;
  state.settings.LatestVersionNr = "1.2.5";
  Check(state);
  EXPECT_EQ(state.dates.remote_release + state.dates.newest_beta, 0);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.status_shown.size(), 2u);
  EXPECT_EQ(state.settings.LatestVersion, 1300000000);
  EXPECT_EQ(state.settings.LatestVersionNr, "1.2.5");
  EXPECT_TRUE(Listed(state.settings.VersionsDir).empty());
  std::string hint = app::EmptyListHint(state, app::ListKind::kVersions);
  EXPECT_NE(hint.find(" 127.0.0.1:9 "), std::string::npos) << hint;
  EXPECT_NE(hint.find(state.settings.StartFolder + "Oxlip.ini"), std::string::npos) << hint;
}

// Instance updates from the fixture mirror: a whole game folder, pinned jars, what is skipped.
class InstanceUpdate : public test::AppWorld {
 protected:
  void SetUp() override {
    record.Name = "Fresh";
    record.Folder = "fresh";
    dates.remote_release = static_cast<platform::DateValue>(test::kFixtureReleaseTime);
    dates.newest_beta = static_cast<platform::DateValue>(test::kFixtureNewestBetaTime);
    ASSERT_NO_FATAL_FAILURE(StartMirror({}, root));
  }
  int Update(bool force) { return UpdateInstance(context, ui, record, force, dates); }
  std::string Bin() { return settings.InstancesDir + "fresh/.minecraft/bin/"; }
  std::string Fixture(const std::string& relative) { return test::ReadFile(root + relative); }
  // The md5s file lists `name` with its digest.
  bool InMd5s(const std::string& bin, const std::string& name) {
    std::string line = "\r\n" + name + "=" + platform::FileMd5(bin + name) + "\r\n";
    return (test::ReadFile(bin + "md5s") + "\r\n").find(line) != std::string::npos;
  }

  std::string root = test::FixtureRoot();
  Instance record;
  versions::ReleaseDates dates;
};

TEST_F(InstanceUpdate, NewBetaInstanceGetsTheWholeGameFolder) {
  record.MineCraftFile = instances::kBetaChannel;
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  ASSERT_EQ(ui.progress_windows.size(), 1u);
  EXPECT_EQ(ui.window_progress.percents.back(), 100);
  std::string game = settings.InstancesDir + "fresh/.minecraft/";
  for (const char* sub : {"saves", "screenshots", "stats", "texturepacks"})
    EXPECT_TRUE(platform::IsFolder(game + sub)) << sub;
  EXPECT_EQ(test::ReadFile(Bin() + "minecraft.jar"),
            Fixture(std::string("assets/") + test::kFixtureNewestBetaKey));
  EXPECT_EQ(platform::FileDate(Bin() + "minecraft.jar"), dates.newest_beta);
  EXPECT_EQ(test::ReadFile(Bin() + "MinecraftLauncher.jar"),
            Fixture("download/launcher/MinecraftLauncher.jar"));
  EXPECT_EQ(test::ReadFile(Bin() + "lwjgl.jar"), Fixture("download/lwjgl.jar"));
  EXPECT_EQ(test::TreeNames(Bin() + "natives"),
            (std::set<std::string>{"libjinput-linux.so", "liblwjgl.so", "liblwjgl64.so",
                                   "libopenal.so"}));
  EXPECT_EQ(test::TreeNames(game + "resources"), test::TreeNames(root + "resources"));
  EXPECT_NE(test::ReadFile(Bin() + "version").find(std::to_string(dates.remote_release) + "000"),
            std::string::npos);
  EXPECT_TRUE(InMd5s(Bin(), "linux_natives.jar"));
  EXPECT_TRUE(InMd5s(Bin(), "minecraft.jar"));
  EXPECT_EQ(record.BetaVersion, dates.newest_beta);
  ASSERT_EQ(OpenPrefFile(settings.InstancesDir + "fresh/settings.ini"), 1);
  EXPECT_EQ(ReadPrefNumber("BetaVersion", -1), dates.newest_beta);
  ClosePrefFile();
}

// Cancel while the mirror holds the transfers back: the update stops and the game folder is as
// before, file by file, without the files that were arriving.
TEST_F(InstanceUpdate, ACancelledUpdateLeavesTheGameFolderAsBefore) {
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  for (const char* name : {"lwjgl.jar", "minecraft.jar"}) {
    platform::DeleteFile(Bin() + name);
    for (const auto& cached : fs::recursive_directory_iterator(settings.CacheDir))
      if (cached.path().filename() == name) fs::remove(cached.path());
    ASSERT_TRUE(mirror_->AddFault(std::string("slow:/download/") + name));
  }
  const test::JarFiles before = test::ReadTree(settings.InstancesDir);
  ui.window_progress.cancel_after_asks = 1;
  bool cancelled = false;
  EXPECT_EQ(UpdateInstance(context, ui, record, true, dates, &cancelled), 0);
  EXPECT_TRUE(cancelled) << base::LastErrorText();
  EXPECT_EQ(test::ReadTree(settings.InstancesDir), before);
}

// A pinned jar comes from the store, the release date still comes along; a store jar that is
// gone is reported, and the rest of the update still happens.
TEST_F(InstanceUpdate, PinnedInstanceKeepsItsJarAndStillGetsTheReleaseDate) {
  test::WriteFile(settings.VersionsDir + "minecraft - 1.1.jar",
                  Fixture("assets/1_1/minecraft.jar"));
  record.MineCraftFile = "minecraft - 1.1.jar";
  ASSERT_EQ(Update(false), 1) << base::LastErrorText();
  EXPECT_EQ(test::ReadFile(Bin() + "minecraft.jar"), Fixture("assets/1_1/minecraft.jar"));
  EXPECT_EQ(CountRequests("/download/minecraft.jar"), 0);
  EXPECT_EQ(record.BetaVersion, dates.remote_release);

  record.MineCraftFile = "minecraft - 0.9.jar";
  platform::DeleteTree(Bin() + "natives");
  EXPECT_EQ(Update(false), 1);
  EXPECT_EQ(base::LastErrorText(),
            "DownloadMinecraft: Can't copy minecraft - 0.9.jar: " + platform::ReasonText(ENOENT));
  EXPECT_TRUE(platform::IsFile(Bin() + "natives/liblwjgl.so"));
}

TEST_F(InstanceUpdate, FolderValuesRelativeToTheStartFolderWork) {
  settings.InstancesDir = "Instances\\";
  settings.CacheDir = "Cache\\";
  ASSERT_EQ(Update(false), 1) << base::LastErrorText();
  std::string bin = dir() + "Instances/fresh/.minecraft/bin/";
  EXPECT_TRUE(platform::IsFile(bin + "version"));
  EXPECT_TRUE(InMd5s(bin, "minecraft.jar"));
  EXPECT_TRUE(platform::IsFile(bin + "natives/liblwjgl.so"));
}

// Without force the present natives jar keeps the damaged archive from being fetched; the jar
// is still unpacked, and the version and md5s files written.
TEST_F(InstanceUpdate, DamagedNativesAreReportedAndTheStartFolderComesBack) {
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  test::WriteFile(Bin() + "linux_natives.jar.lzma", "not lzma");
  platform::DeleteTree(Bin() + "natives");
  EXPECT_EQ(Update(false), 0);
  EXPECT_TRUE(base::LastErrorText().starts_with("DownloadMinecraft: Can't unzip natives.lzma: "))
      << base::LastErrorText();
  EXPECT_EQ(platform::CurrentFolder(), dir());
  EXPECT_TRUE(platform::IsFile(Bin() + "natives/liblwjgl.so"));
  EXPECT_TRUE(platform::IsFile(Bin() + "md5s"));
}

class InstanceUpdateOwnRoot : public InstanceUpdate {
 protected:
  void SetUp() override {
    root = dir() + "served/";
    fs::copy(test::FixtureRoot(), root, fs::copy_options::recursive);
    InstanceUpdate::SetUp();
  }
};

// The bucket gets other natives; only a forced update looks at them.
TEST_F(InstanceUpdateOwnRoot, WithoutForceAPresentNativesJarIsNotFetchedAgain) {
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  fs::copy_file(root + "download/windows_natives.jar.lzma",
                root + "download/linux_natives.jar.lzma", fs::copy_options::overwrite_existing);
  // Same size as before: only a time of another second tells the mirror its digest is stale.
  platform::SetFileDate(root + "download/linux_natives.jar.lzma", platform::NowDateValue() - 7200);
  platform::SetFileDate(settings.CacheDir + "download-index.xml", platform::NowDateValue() - 3601);
  platform::DeleteFile(Bin() + "lwjgl.jar");
  ASSERT_EQ(Update(false), 1) << base::LastErrorText();
  EXPECT_EQ(CountRequests("/download/linux_natives.jar.lzma"), 1);
  EXPECT_EQ(CountRequests("/download/lwjgl.jar"), 1);  // put back from the cache
  EXPECT_EQ(test::ReadFile(Bin() + "lwjgl.jar"), Fixture("download/lwjgl.jar"));
  EXPECT_FALSE(platform::Exists(Bin() + "natives/lwjgl.dll"));
  ASSERT_EQ(Update(true), 1) << base::LastErrorText();
  EXPECT_EQ(CountRequests("/download/linux_natives.jar.lzma"), 2);
  EXPECT_TRUE(platform::IsFile(Bin() + "natives/lwjgl.dll"));
}

}  // namespace
}  // namespace oxlip

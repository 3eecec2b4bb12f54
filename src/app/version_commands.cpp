// The commands of the version list: reload, the betas, downgrade, delete, and a dropped jar.
#include "app/app_state.h"
#include "app/behind_status.h"
#include "app/check_result.h"
#include "app/command_registry.h"
#include "app/main_view.h"
#include "app/not_trashed.h"
#include "base/create_path.h"
#include "base/error_text.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/trash.h"
#include "versions/beta_jar.h"
#include "versions/class_version.h"
#include "versions/downgrade.h"
#include "versions/download_engine.h"
#include "versions/store_jar_name.h"
#include "versions/version_index.h"
#include "versions/version_store.h"

namespace oxlip::app {
namespace {

constexpr const char* kAddDroppedJarTitle = "Add Minecraft Version";

void Rescan(AppState& state, Ui& ui) {
  ScanVersions(state.settings, state.versions);
  ui.ListChanged(ListKind::kVersions);
}

// The store file of the remembered row; "" when the row is gone.
std::string RowFile(const AppState& state, const MenuSelection& selection) {
  if (selection.row < 0 || selection.row >= static_cast<int>(state.versions.size())) return "";
  return state.versions[selection.row].File;
}

std::string BetaScratch(const base::GlobalSettings& settings, int n) {
  return settings.CacheDir + "downloadbeta" + std::to_string(n) + ".jar";
}

// Queues every beta jar of the listing, fetches them, and stores those that carry a build
// date under their version's name. Returns how many were queued.
int FetchBetas(AppState& state, base::ProgressSink& progress) {
  const base::GlobalSettings& settings = state.settings;
  versions::DownloadContext context{state.settings, state.remote, state.downloads};
  int count = 0;
  for (int i = 0; i < static_cast<int>(state.remote.files.size()); ++i) {
    if (!versions::IsBetaJar(state.remote.files[i])) continue;
    state.remote.current = i;
    DownloadMCFile(context, BetaScratch(settings, count++), "");
  }
  DoDownloads(context, &progress);
  state.downloads.clear();  // what failed is not tried again by a later batch
  for (int n = 0; n < count; ++n) {
    platform::DateValue date = 0;
    std::string version = GetMineCraftVersion(settings, BetaScratch(settings, n), date, 1);
    std::string name = versions::StoreJarName(version);
    if (date != 0 && platform::MoveFile(BetaScratch(settings, n), settings.VersionsDir + name))
      AddVersionRecord(settings, name, date, version);
    platform::DeleteFile(BetaScratch(settings, n));
  }
  return 1;
}

// The listing is fetched behind the window too: the GUI thread never waits for the network.
int DownloadAllBetas(AppState& state, Ui& ui, const MenuSelection&) {
  int listed = BehindStatus(ui, "Download Betas", "", false, [&](base::ProgressSink& progress) {
    if (!GetMCFileList(state.settings, state.remote, state.settings.MCASSETSURL, "assets\\"))
      return 0;
    return FetchBetas(state, progress);
  });
  if (listed) Rescan(state, ui);
  return 1;
}

int DowngradeVersion(AppState& state, Ui& ui, const MenuSelection& selection) {
  std::string file = RowFile(state, selection);
  if (file.empty()) return 1;
  std::string jar = state.settings.VersionsDir + file;
  ui.ShowStatusWindow("Downgrade", "", true);
  std::string work = state.settings.CacheDir + "\\patch\\";
  CreatePath(work);
  // The outcome shows in the store; what stopped the chain is not a failure of the command.
  ui.RunBehindStatus([&](base::ProgressSink& status) {
    return Downgrade(state.settings, jar, work, &status, 1, 1);
  });
  platform::DeleteTree(work);
  ui.CloseStatusWindow();
  Rescan(state, ui);
  return 1;
}

int ReloadVersions(AppState& state, Ui& ui, const MenuSelection&) {
  Rescan(state, ui);
  return 1;
}

int DeleteVersion(AppState& state, Ui& ui, const MenuSelection& selection) {
  std::string file = RowFile(state, selection);
  if (!file.empty() && !platform::TrashOrDelete(state.settings.VersionsDir + file))
    ReportNotTrashed(ui, state.settings.VersionsDir + file);
  Rescan(state, ui);
  return 1;
}

int AddDroppedJar(AppState& state, Ui& ui, const MenuSelection& selection) {
  const std::string& path = selection.file;
  if (!platform::EndsWithNoCase(path, ".jar")) {
    SetErrorText("Versions: No Jar file " + platform::NativePath(path));
    return CheckResult(ui, 0);
  }
  platform::DateValue date = 0;
  std::string version;
  std::string name;
  // Unpacking and copying a jar takes a while; any box comes after the window has closed.
  int stored = BehindStatus(
      ui, kAddDroppedJarTitle, platform::NativePath(path), true, [&](base::ProgressSink&) {
        version = GetMineCraftVersion(state.settings, path, date, 1);
        name = versions::StoreJarName(version);
        return platform::CopyFile(path, state.settings.VersionsDir + name) ? 1 : 0;
      });
  if (!stored) {
    SetErrorText("Versions: File already exist: " + name);
    return CheckResult(ui, 0);
  }
  AddVersionRecord(state.settings, name, date, version);
  Rescan(state, ui);
  return 1;
}

}  // namespace

void RegisterVersionCommands(CommandTable& table) {
  table.Register(kCmdDownloadBetas, DownloadAllBetas);
  table.Register(kCmdReloadVersions, ReloadVersions);
  table.Register(kCmdDowngrade, DowngradeVersion);
  table.Register(kCmdDeleteVersion, DeleteVersion);
  table.Register(kCmdDropVersionFile, AddDroppedJar);
}

}  // namespace oxlip::app

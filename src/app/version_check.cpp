#include "app/version_check.h"

#include "app/behind_status.h"
#include "platform/fs.h"
#include "versions/beta_jar.h"
#include "versions/class_version.h"
#include "versions/download_engine.h"
#include "versions/store_jar_name.h"

namespace oxlip::app {
namespace {

versions::DownloadContext Downloads(AppState& state) {
  return versions::DownloadContext{state.settings, state.remote, state.downloads};
}

platform::DateValue NewestBetaDate(const versions::RemoteFileList& list) {
  int newest = versions::NewestBetaJar(list);
  return newest < 0 ? 0 : list.files[newest].Date;
}

// The release jar into the cache, then into the store under its version's name. A jar of that
// name already there keeps its place and the download is dropped.
int FetchCurrentVersion(AppState& state, base::ProgressSink& progress) {
  base::GlobalSettings& settings = state.settings;
  versions::DownloadContext context = Downloads(state);
  if (!GetMCFileList(settings, state.remote, settings.MCURL, "download\\")) return 0;
  std::string scratch = settings.CacheDir + "currentversion.jar";
  if (DownloadMCFile(context, "minecraft.jar", scratch) && DoDownloads(context, &progress)) {
    platform::DateValue date = 0;
    std::string version = GetMineCraftVersion(settings, scratch, date, 1);
    std::string stored = settings.VersionsDir + versions::StoreJarName(version);
    // Only a release that reached the store counts as known; else the next start tries again.
    if (platform::MoveFile(scratch, stored) || platform::IsFile(stored)) {
      settings.LatestVersion = state.dates.remote_release;
      settings.LatestVersionNr = version;
    }
  }
  platform::DeleteFile(scratch);
  return 1;
}

}  // namespace

void FindReleaseDates(AppState& state, Ui& ui) {
  BehindStatus(ui, "Search for current minecraft version", "", true, [&](base::ProgressSink&) {
    const base::GlobalSettings& settings = state.settings;
    bool listed = GetMCFileList(settings, state.remote, settings.MCURL + "?prefix=minecraft.jar",
                                "download_versions\\");
    if (listed && FindRemoteFile(state.remote, "minecraft.jar"))
      state.dates.remote_release = state.remote.Current()->Date;
    state.dates.download_unreached = !listed;
    if (GetMCFileList(settings, state.remote, settings.MCASSETSURL, "assets\\"))
      state.dates.newest_beta = NewestBetaDate(state.remote);
    return 1;
  });
}

void AddCurrentVersion(AppState& state, Ui& ui) {
  const base::GlobalSettings& settings = state.settings;
  if (settings.LatestVersion == state.dates.remote_release && !settings.LatestVersionNr.empty())
    return;
  BehindStatus(ui, "Add current Version to Minecraft Version", "", false,
               [&](base::ProgressSink& progress) { return FetchCurrentVersion(state, progress); });
}

}  // namespace oxlip::app

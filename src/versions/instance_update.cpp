#include "versions/instance_update.h"

#include <string>
#include <vector>

#include "archive/extract_budget.h"
#include "base/create_path.h"
#include "base/error_text.h"
#include "platform/conventions.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "versions/beta_jar.h"
#include "versions/download_engine.h"
#include "versions/version_store.h"

namespace oxlip {
namespace {

std::string NativesArchive() { return std::string(platform::kNativeConventions.natives_archive); }

struct LibraryRow {
  std::string checked;  // in the game folder
  std::string remote;
  std::string target;  // in the game folder
};

std::vector<LibraryRow> LibraryTable() {
  std::string natives = NativesArchive();
  return {{"bin\\jinput.jar", "jinput.jar", "bin\\jinput.jar"},
          {"bin\\lwjgl.jar", "lwjgl.jar", "bin\\lwjgl.jar"},
          {"bin\\lwjgl_util.jar", "lwjgl_util.jar", "bin\\lwjgl_util.jar"},
          {"bin\\" + natives, natives + ".lzma", "bin\\" + natives + ".lzma"},
          {"bin\\MinecraftLauncher.jar", "launcher\\MinecraftLauncher.jar",
           "bin\\MinecraftLauncher.jar"}};
}

bool MissingOrEmpty(const std::string& path) { return platform::FileSize(path) <= 0; }

int Fail(const std::string& message) {
  SetErrorText(message);
  return 0;
}

bool Failed(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

void MakeGameFolders(const std::string& game) {
  CreatePath(game);
  for (const char* sub : {"saves", "screenshots", "stats", "texturepacks", "bin", "resources"})
    platform::CreateFolder(game + sub);
}

void QueueLibraries(versions::DownloadContext& context, const std::string& game, bool force) {
  for (const LibraryRow& row : LibraryTable())
    if (force || MissingOrEmpty(game + row.checked))
      DownloadMCFile(context, row.remote, game + row.target);
}

// A stored jar name is a plain file name; anything else would reach outside the store.
bool IsStoreJarName(const std::string& name) {
  return !name.empty() && !platform::IsAbsolutePath(name) && !platform::HasParentPart(name);
}

// False stops the update; a store jar that cannot be copied only sets `copy_error`.
bool QueueGameJar(versions::DownloadContext& context, const std::string& game,
                  const std::string& minecraft_file, std::string* error, std::string* copy_error) {
  std::string jar = game + "bin\\minecraft.jar";
  if (minecraft_file == instances::kReleaseChannel) {
    DownloadMCFile(context, "minecraft.jar", jar);
    return true;
  }
  if (minecraft_file != instances::kBetaChannel) {
    platform::Error copying;
    if (!IsStoreJarName(minecraft_file) ||
        !platform::CopyFile(context.settings.VersionsDir + minecraft_file, jar, &copying))
      *copy_error =
          base::WithReason("DownloadMinecraft: Can't copy " + minecraft_file, copying.reason);
    return true;
  }
  if (!GetMCFileList(context.settings, context.remote, context.settings.MCASSETSURL, "assets\\"))
    return Failed(error, "DownloadMinecraft: Can't download assets-file-list");
  int newest = versions::NewestBetaJar(context.remote);
  if (newest < 0) return Failed(error, "DownloadMinecraft: Can't find Beta.jar");
  DownloadMCFile(context, context.remote.files[newest].Path, jar);
  return true;
}

bool QueueResources(versions::DownloadContext& context, const std::string& game, bool force,
                    std::string* error) {
  versions::RemoteFileList& remote = context.remote;
  if (!GetMCFileList(context.settings, remote, context.settings.MCRESURL, "resources\\"))
    return Failed(error, "DownloadMinecraft: Can't download resources-file-list");
  for (int i = 0; i < static_cast<int>(remote.files.size()); ++i) {
    std::string file = game + "resources\\" + remote.files[i].Path;
    if (!force && !MissingOrEmpty(file)) continue;
    remote.current = i;
    DownloadMCFile(context, file, "");
  }
  return true;
}

// The natives' command lines name their files relative to "bin". Every step runs; the last
// failure is kept.
bool FinishBin(const std::string& bin, platform::DateValue release_date, std::string* error) {
  std::string natives = NativesArchive();
  if (!platform::IsFolder(bin)) return Failed(error, "DownloadMinecraft: Can't enter " + bin);
  // Downloads: what they may unpack is capped like any archive from outside.
  std::string refusal;
  if (archive::SevenZipWithinLimit("x " + natives + ".lzma -aoa -hide -xr!meta-inf",
                                   bin + natives + ".lzma", bin, &refusal, bin) != 0)
    *error = base::WithReason("DownloadMinecraft: Can't unzip natives.lzma",
                              archive::ExtractionFailure(refusal));
  if (archive::SevenZipWithinLimit("x -tzip " + natives + " -aoa -onatives -hide -xr!meta-inf",
                                   bin + natives, bin, &refusal, bin) != 0)
    *error = base::WithReason("DownloadMinecraft: Can't unzip natives.jar",
                              archive::ExtractionFailure(refusal));
  SaveVersion(bin + "version", release_date);
  platform::Error writing;
  if (!versions::WriteMd5sFile(bin, &writing))
    *error = base::WithReason("DownloadMinecraft: Can't create md5s-file", writing.reason);
  return error->empty();
}

}  // namespace

int DownloadMinecraft(versions::DownloadContext& context, const std::string& folder, bool force,
                      const std::string& minecraft_file, base::ProgressSink* progress) {
  const base::GlobalSettings& settings = context.settings;
  context.queue.clear();
  std::vector<versions::ListingRequest> listings = {{settings.MCURL, "download\\"},
                                                    {settings.MCRESURL, "resources\\"}};
  if (minecraft_file == instances::kBetaChannel)
    listings.push_back({settings.MCASSETSURL, "assets\\"});
  versions::PrefetchListings(settings, listings);
  if (!GetMCFileList(settings, context.remote, settings.MCURL, "download\\"))
    return Fail("DownloadMinecraft: Can't download download-file-list");
  std::string game = settings.InstancesDir + folder + "\\.minecraft\\";
  MakeGameFolders(game);
  QueueLibraries(context, game, force);
  platform::DateValue release_date = 0;
  if (FindRemoteFile(context.remote, "minecraft.jar"))
    release_date = context.remote.Current()->Date;
  std::string error, copy_error;
  if (!QueueGameJar(context, game, minecraft_file, &error, &copy_error) ||
      !QueueResources(context, game, force, &error))
    return Fail(error);
  if (!copy_error.empty()) SetErrorText(copy_error);
  if (!DoDownloads(context, progress)) return Fail("DownloadMinecraft:Can't download!");
  if (!FinishBin(game + "bin\\", release_date, &error)) return Fail(error);
  return 1;
}

}  // namespace oxlip

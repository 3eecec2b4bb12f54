#include "versions/instance_update.h"

#include <string>
#include <vector>

#include "archive/seven_zip.h"
#include "base/error_text.h"
#include "base/paths.h"
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

void MakeGameFolders(const std::string& game) {
  CreatePath(game);
  for (const char* sub : {"saves", "screenshots", "stats", "texturepacks", "bin", "resources"})
    platform::CreateFolder(game + sub);
}

void QueueLibraries(DownloadContext& context, const std::string& game, bool force) {
  for (const LibraryRow& row : LibraryTable())
    if (force || MissingOrEmpty(game + row.checked))
      DownloadMCFile(context, row.remote, game + row.target);
}

// A stored jar name is a plain file name; anything else would reach outside the store.
bool IsStoreJarName(const std::string& name) {
  return !name.empty() && !platform::IsAbsolutePath(name) && !platform::HasParentPart(name);
}

int QueueGameJar(DownloadContext& context, const std::string& game,
                 const std::string& minecraft_file) {
  std::string jar = game + "bin\\minecraft.jar";
  if (minecraft_file == kReleaseChannel) {
    DownloadMCFile(context, "minecraft.jar", jar);
    return 1;
  }
  if (minecraft_file != kBetaChannel) {
    if (!IsStoreJarName(minecraft_file) ||
        !platform::CopyFile(context.settings.VersionsDir + minecraft_file, jar))
      SetErrorText("DownloadMinecraft: Can't copy " + minecraft_file);
    return 1;
  }
  if (!GetMCFileList(context.settings, context.remote, context.settings.MCASSETSURL, "assets\\"))
    return Fail("DownloadMinecraft: Can't download assets-file-list");
  int newest = NewestBetaJar(context.remote);
  if (newest < 0) return Fail("DownloadMinecraft: Can't find Beta.jar");
  DownloadMCFile(context, context.remote.files[newest].Path, jar);
  return 1;
}

int QueueResources(DownloadContext& context, const std::string& game, bool force) {
  RemoteFileList& remote = context.remote;
  if (!GetMCFileList(context.settings, remote, context.settings.MCRESURL, "resources\\"))
    return Fail("DownloadMinecraft: Can't download resources-file-list");
  for (int i = 0; i < static_cast<int>(remote.files.size()); ++i) {
    std::string file = game + "resources\\" + remote.files[i].Path;
    if (!force && !MissingOrEmpty(file)) continue;
    remote.current = i;
    DownloadMCFile(context, file, "");
  }
  return 1;
}

// The archiver names files relative to the current folder: "bin" while it runs, the start
// folder again afterwards whatever happened.
int FinishBin(const GlobalSettings& settings, const std::string& bin,
              platform::DateValue release_date) {
  int result = 1;
  std::string natives = NativesArchive();
  if (!platform::SetCurrentFolder(bin)) return Fail("DownloadMinecraft: Can't enter " + bin);
  if (SevenZip(nullptr, "x " + natives + ".lzma -aoa -hide -xr!meta-inf", nullptr, 0) != 0)
    result = Fail("DownloadMinecraft: Can't unzip natives.lzma");
  if (SevenZip(nullptr, "x -tzip " + natives + " -aoa -onatives -hide -xr!meta-inf", nullptr, 0) !=
      0)
    result = Fail("DownloadMinecraft: Can't unzip natives.jar");
  SaveVersion(bin + "version", release_date);
  if (!WriteMd5sFile(bin)) result = Fail("DownloadMinecraft: Can't create md5s-file");
  platform::SetCurrentFolder(settings.StartFolder);
  return result;
}

}  // namespace

int DownloadMinecraft(DownloadContext& context, const std::string& folder, bool force,
                      const std::string& minecraft_file, ProgressSink* progress) {
  const GlobalSettings& settings = context.settings;
  context.queue.clear();
  if (!GetMCFileList(settings, context.remote, settings.MCURL, "download\\"))
    return Fail("DownloadMinecraft: Can't download download-file-list");
  std::string game = settings.InstancesDir + folder + "\\.minecraft\\";
  MakeGameFolders(game);
  QueueLibraries(context, game, force);
  platform::DateValue release_date = 0;
  if (FindRemoteFile(context.remote, "minecraft.jar"))
    release_date = context.remote.Current()->Date;
  if (!QueueGameJar(context, game, minecraft_file)) return 0;
  if (!QueueResources(context, game, force)) return 0;
  if (!DoDownloads(context, progress)) return Fail("DownloadMinecraft:Can't download!");
  // The folder values may be relative to the start folder; inside "bin" they would miss.
  std::string bin = game + "bin\\";
  if (!platform::IsAbsolutePath(bin)) bin = platform::CurrentFolder() + bin;
  return FinishBin(settings, bin, release_date);
}

}  // namespace oxlip

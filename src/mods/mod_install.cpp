#include "mods/mod_install.h"

#include "archive/seven_zip.h"
#include "base/error_text.h"
#include "base/listed_paths.h"
#include "base/oem_text.h"
#include "mods/tree_holds_file.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/replace_file.h"

namespace oxlip {
namespace {

struct InstallPaths {
  std::string game;    // the instance's ".minecraft\"
  std::string record;  // "modinstall.inf"
  std::string jar;     // ".minecraft\bin\minecraft.jar"
  std::string jar_staging;
  std::string root_staging;
};

InstallPaths PathsOf(const GlobalSettings& settings, const Instance& instance) {
  std::string folder = settings.InstancesDir + instance.Folder + "\\";
  return {folder + ".minecraft\\", folder + "modinstall.inf",
          folder + ".minecraft\\bin\\minecraft.jar", settings.CacheDir + "minecraftjar\\",
          settings.CacheDir + "root\\"};
}

// A mods.ini entry names a folder of ModDir and nothing outside it.
bool IsModFolder(const std::string& dir) {
  return !dir.empty() && !platform::IsAbsolutePath(dir) && !platform::HasParentPart(dir);
}

// A missing or empty archive has nothing to give; a damaged one gives what it can.
void ExtractArchive(const std::string& archive, const std::string& folder) {
  if (platform::FileSize(archive) <= 0) return;
  SevenZip(nullptr, "x \"" + ToOemText(archive) + "\" * -o\"" + ToOemText(folder) + "\" -aoa -hide",
           nullptr, 0);
}

// The jar is patched as a copy that takes its place only when every step succeeded, so a
// failure leaves the old jar byte for byte.
void PatchJar(const std::string& jar, const std::string& staging) {
  std::string copy = platform::TemporaryNameBeside(jar);
  bool ok = !platform::Exists(jar) || platform::CopyFile(jar, copy);
  ok = ok &&
       SevenZip(nullptr,
                "a \"" + ToOemText(copy) + "\" \"" + ToOemText(staging) + "\" -r -mx9 -x!meta-inf",
                nullptr, 0) == 0;
  if (!ok) {
    SetErrorText("installmod: Can't patch minecraft.jar");
  } else if (SevenZip(nullptr, "d \"" + ToOemText(copy) + "\" META-INF ", nullptr, 0) != 0) {
    SetErrorText("installmod: Can't remove meta-inf from minecraft.jar");
  } else if (!platform::ReplaceFile(copy, jar)) {
    SetErrorText("installmod: Can't patch minecraft.jar");
  }
  platform::DeleteFile(copy);
}

void CopyRootFiles(const InstallPaths& paths, PreviousInstall& previous, int overwrite) {
  // The old record stays until the new one is complete, so an interruption never forgets
  // what was installed before.
  std::optional<std::string> old = platform::ReadWholeFile(paths.record);
  if (!platform::ReplaceFileContents(paths.record, old.value_or(""))) return;
  std::string record;
  InstallTree(paths.root_staging, paths.game, "", previous, record, overwrite);
  platform::ReplaceFileContents(paths.record, record);
  RemoveListedPaths(paths.game, previous, 1);
}

}  // namespace

void installmod(const GlobalSettings& settings, const Instance& instance, int overwrite,
                ProgressSink& progress) {
  InstallPaths paths = PathsOf(settings, instance);
  PreviousInstall previous = mods::ReadInstallRecord(paths.record);
  if (instance.Mods.empty()) {
    RemoveListedPaths(paths.game, previous, 1);
    platform::DeleteFile(paths.record);
    return;
  }
  platform::DeleteTree(paths.jar_staging);
  platform::DeleteTree(paths.root_staging);
  for (const std::string& dir : instance.Mods) {
    if (!IsModFolder(dir)) continue;
    progress.SetName("Unpacking " + dir.substr(0, dir.size() - (dir.back() == '\\')));
    ExtractArchive(settings.ModDir + dir + "minecraftjar.7z", paths.jar_staging);
    ExtractArchive(settings.ModDir + dir + "root.7z", paths.root_staging);
  }
  progress.SetName("Copying mod files");
  CopyRootFiles(paths, previous, overwrite);
  if (mods::TreeHoldsFile(paths.jar_staging)) {
    progress.SetName("Patching minecraft.jar");
    PatchJar(paths.jar, paths.jar_staging);
  }
  platform::DeleteTree(paths.jar_staging);
  platform::DeleteTree(paths.root_staging);
}

void UninstallMods(const GlobalSettings& settings, const Instance& instance) {
  InstallPaths paths = PathsOf(settings, instance);
  RemoveListedPaths(paths.game, mods::ReadInstallRecord(paths.record), 1);
  platform::DeleteFile(paths.record);
}

}  // namespace oxlip

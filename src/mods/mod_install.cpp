#include "mods/mod_install.h"

#include <algorithm>

#include "archive/extract_budget.h"
#include "archive/seven_zip.h"
#include "archive/work_progress.h"
#include "base/create_path.h"
#include "base/error_text.h"
#include "base/listed_paths.h"
#include "base/oem_text.h"
#include "base/tree_holds_file.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/replace_file.h"

namespace oxlip {
namespace {

struct InstallPaths {
  std::string game;       // the instance's ".minecraft\"
  std::string record;     // "modinstall.inf"
  std::string originals;  // "modinstall.orig\": the files installed mods replaced
  std::string jar;        // ".minecraft\bin\minecraft.jar"
  std::string jar_staging;
  std::string root_staging;
};

InstallPaths PathsOf(const base::GlobalSettings& settings, const Instance& instance) {
  std::string folder = settings.InstancesDir + instance.Folder + "\\";
  return {folder + ".minecraft\\",
          folder + "modinstall.inf",
          folder + "modinstall.orig\\",
          folder + ".minecraft\\bin\\minecraft.jar",
          settings.CacheDir + "minecraftjar\\",
          settings.CacheDir + "root\\"};
}

// A mods.ini entry names a folder of ModDir and nothing outside it.
bool IsModFolder(const std::string& dir) {
  return !dir.empty() && !platform::IsAbsolutePath(dir) && !platform::HasParentPart(dir);
}

// A missing or empty archive has nothing to give. One that is damaged or would unpack to too
// much stops the install before any change: false with the last-error text set.
bool ExtractArchive(const std::string& archive, const std::string& folder) {
  if (platform::FileSize(archive) <= 0) return true;
  std::string refusal;
  if (archive::SevenZipWithinLimit(
          "x \"" + ToOemText(archive) + "\" * -o\"" + ToOemText(folder) + "\" -aoa -hide", archive,
          folder, &refusal) == 0)
    return true;
  SetErrorText(
      refusal.empty()
          ? base::WithReason("installmod: Can't unpack " + platform::NativePath(archive),
                             archive::ExtractionFailure(refusal))
          : base::WithReason("installmod: Refused " + platform::NativePath(archive), refusal));
  return false;
}

// Cancel stops it at the next file: only the staging folders have changed so far.
bool Unpack(const base::GlobalSettings& settings, const Instance& instance,
            const InstallPaths& paths, base::ProgressSink& progress) {
  archive::ProgressScope scope(progress);
  for (const std::string& dir : instance.Mods) {
    if (progress.Cancelled()) return false;
    if (!IsModFolder(dir)) continue;
    progress.SetName("Unpacking " + dir.substr(0, dir.size() - (dir.back() == '\\')));
    if (!ExtractArchive(settings.ModDir + dir + "minecraftjar.7z", paths.jar_staging) ||
        !ExtractArchive(settings.ModDir + dir + "root.7z", paths.root_staging))
      return false;
  }
  return !progress.Cancelled();
}

// The jar is patched as a copy that takes its place only when every step succeeded, so a
// failure leaves the old jar byte for byte.
bool PatchJar(const std::string& jar, const std::string& staging) {
  std::string copy = platform::TemporaryNameBeside(jar);
  platform::Error error;
  bool ok = !platform::Exists(jar) || platform::CopyFile(jar, copy, &error);
  std::string why = error.reason;
  if (ok &&
      SevenZip(nullptr,
               "a \"" + ToOemText(copy) + "\" \"" + ToOemText(staging) + "\" -r -mx9 -x!meta-inf",
               nullptr, 0) != 0) {
    why = archive::SevenZipReason();
    ok = false;
  }
  if (!ok) {
    SetErrorText(base::WithReason("installmod: Can't patch minecraft.jar", why));
  } else if (SevenZip(nullptr, "d \"" + ToOemText(copy) + "\" META-INF ", nullptr, 0) != 0) {
    SetErrorText(base::WithReason("installmod: Can't remove meta-inf from minecraft.jar",
                                  archive::SevenZipReason()));
    ok = false;
  } else if (!platform::ReplaceFile(copy, jar, &error)) {
    SetErrorText(base::WithReason("installmod: Can't patch minecraft.jar", error.reason));
    ok = false;
  }
  platform::DeleteFile(copy);
  return ok;
}

// Removes what the record owned and the installation no longer provides (map value 1), and
// puts back the files those had replaced.
void RemoveInstalled(const InstallPaths& paths, const mods::PreviousInstall& previous) {
  RemoveListedPaths(paths.game, previous, 1);
  for (const auto& [key, state] : previous) {
    if (state != 1 || key.empty() || key.back() == '\\' || !platform::IsFile(paths.originals + key))
      continue;
    CreatePath(paths.game + key);
    platform::MoveFile(paths.originals + key, paths.game + key);
  }
  if (!base::TreeHoldsFile(paths.originals)) platform::DeleteTree(paths.originals);
}

// Every line of `previous` still owned (value 1) and every line of `planned`, each once.
std::string OwningBoth(const mods::PreviousInstall& previous, const std::string& planned) {
  std::string text;
  for (const auto& [key, state] : previous)
    if (state == 1) text += key + "\r\n";
  for (std::size_t start = 0; start < planned.size();) {
    std::size_t end = std::min(planned.find("\r\n", start), planned.size());
    std::string key = planned.substr(start, end - start);
    auto found = previous.find(key);
    if (found == previous.end() || found->second != 1) text += key + "\r\n";
    start = end + 2;
  }
  return text;
}

bool WriteRecord(const std::string& path, const std::string& text) {
  platform::Error error;
  if (platform::ReplaceFileContents(path, text, &error)) return true;
  SetErrorText(
      base::WithReason("installmod: Can't write " + platform::NativePath(path), error.reason));
  return false;
}

// The record owns what the old one did and what this installation will add before anything is
// copied, so no interruption leaves a file that no record owns; once the copies are done it
// owns exactly what is installed.
bool CopyRootFiles(const InstallPaths& paths, mods::PreviousInstall& previous, int overwrite) {
  std::string planned = mods::PlanInstallRecord(paths.root_staging, paths.game, previous);
  if (!WriteRecord(paths.record, OwningBoth(previous, planned))) return false;
  std::string record;
  InstallTree(paths.root_staging, paths.game, "", previous, record, overwrite, paths.originals);
  if (!WriteRecord(paths.record, record)) return false;
  RemoveInstalled(paths, previous);
  return true;
}

// Runs to its end once begun, Cancel or not: the files of the mods and the jar patch belong
// together.
int Install(const InstallPaths& paths, mods::PreviousInstall& previous, int overwrite,
            base::ProgressSink& progress) {
  progress.SetName("Copying mod files");
  if (!CopyRootFiles(paths, previous, overwrite)) return 0;
  if (!base::TreeHoldsFile(paths.jar_staging)) return 1;
  progress.SetName("Patching minecraft.jar");
  return PatchJar(paths.jar, paths.jar_staging);
}

}  // namespace

int installmod(const base::GlobalSettings& settings, const Instance& instance, int overwrite,
               base::ProgressSink& progress) {
  InstallPaths paths = PathsOf(settings, instance);
  mods::PreviousInstall previous = mods::ReadInstallRecord(paths.record);
  if (instance.Mods.empty()) {
    RemoveInstalled(paths, previous);
    platform::DeleteFile(paths.record);
    return 1;
  }
  platform::DeleteTree(paths.jar_staging);
  platform::DeleteTree(paths.root_staging);
  int result =
      Unpack(settings, instance, paths, progress) && Install(paths, previous, overwrite, progress);
  platform::DeleteTree(paths.jar_staging);
  platform::DeleteTree(paths.root_staging);
  return result;
}

void UninstallMods(const base::GlobalSettings& settings, const Instance& instance) {
  InstallPaths paths = PathsOf(settings, instance);
  RemoveInstalled(paths, mods::ReadInstallRecord(paths.record));
  platform::DeleteFile(paths.record);
}

}  // namespace oxlip

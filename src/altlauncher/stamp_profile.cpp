#include "altlauncher/stamp_profile.h"

#include <algorithm>

#include "altlauncher/magic_config.h"
#include "archive/extract_budget.h"
#include "archive/seven_zip.h"
#include "base/create_path.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/path_status.h"
#include "platform/replace_file.h"

namespace oxlip::altlauncher {
namespace {

constexpr const char* kPatchFailed = "DownloadMinecraft: Can't patch minecraft.jar";

StampOutcome Failed(std::string message) {
  return {StampOutcome::Kind::kFailed, std::move(message), ""};
}

// Asked of the files, not of the names: names that differ only in letter case are two files
// here, and one file has many names (links, "." parts, either separator).
bool SameFile(const std::string& a, const std::string& b) {
  return platform::SameFile(platform::TargetStatus(a), platform::TargetStatus(b));
}

// Percent over the steps of one stamp: each active mod, the copy, the add, and the delete
// with the replace.
class Steps {
 public:
  Steps(base::ProgressSink& sink, int total) : sink_(sink), total_(std::max(total, 1)) {
    sink_.SetPercent(0);
  }
  void Done() { sink_.SetPercent(++done_ * 100 / total_); }

 private:
  base::ProgressSink& sink_;
  int total_;
  int done_ = 0;
};

bool Used(const MagicMod& mod) { return !mod.file.empty() && mod.active; }

// In the profile's order, so a later mod's files overwrite an earlier one's.
bool UnpackMods(const MagicProfile& profile, const std::string& staging, Steps& steps,
                std::string* error) {
  for (const MagicMod& mod : profile.mods) {
    if (!Used(mod)) continue;
    std::string line =
        "x \"" + ToOemText(mod.file) + "\" -aoa -o\"" + ToOemText(staging) + "\" -xr!meta-inf";
    // A mod from anywhere: what it may unpack is capped like an imported one.
    std::string refusal;
    if (archive::SevenZipWithinLimit(line, mod.file, staging, &refusal) != 0) {
      *error = base::WithReason("stampit: Can't unzip mod " + mod.file,
                                archive::ExtractionFailure(refusal));
      return false;
    }
    steps.Done();
  }
  return true;
}

// Adds the unpacked mods into `jar` and drops its signature folder, which no longer matches.
bool PatchJar(const std::string& jar, const std::string& staging, Steps& steps,
              std::string* error) {
  std::string add =
      "a \"" + ToOemText(jar) + "\" \"" + ToOemText(staging) + "\" -r -mx9 -x!meta-inf";
  bool ok = SevenZip(nullptr, add, nullptr, 0) == 0;
  if (ok) steps.Done();
  ok = ok && SevenZip(nullptr, "d \"" + ToOemText(jar) + "\" META-INF ", nullptr, 0) == 0;
  if (!ok) *error = base::WithReason(kPatchFailed, archive::SevenZipReason());
  return ok;
}

// The jar is built as a copy beside the instance jar and put in its place only when every
// step worked: a failure half way would otherwise leave the game a jar with part of the mods,
// or one whose signature folder is gone while the mods are missing.
bool BuildJar(const std::string& profile_jar, const std::string& jar, const std::string& staging,
              Steps& steps, std::string* error) {
  if (profile_jar.empty()) {
    *error = "stampit: The profile names no jar";
    return false;
  }
  std::string source = SameFile(profile_jar, jar) ? jar : profile_jar;
  std::string temp = platform::TemporaryNameBeside(jar);
  platform::Error copying;
  bool ok = platform::CopyFile(source, temp, &copying);
  if (!ok) *error = base::WithReason("stampit: Can't copy " + source, copying.reason);
  if (ok) steps.Done();
  ok = ok && PatchJar(temp, staging, steps, error);
  if (ok && !platform::ReplaceFile(temp, jar, &copying)) {
    *error = base::WithReason(kPatchFailed, copying.reason);
    ok = false;
  }
  platform::DeleteFile(temp);
  if (ok) steps.Done();
  return ok;
}

StampOutcome StampActive(const ActiveProfile& active, const StampPaths& paths,
                         base::ProgressSink& progress) {
  if (active.status == ProfileStatus::kNone) return {};
  if (active.status == ProfileStatus::kDamaged)
    return Failed("stampit: Alternate-Config-File is cut off");
  const MagicProfile& profile = active.profile;
  Steps steps(progress,
              static_cast<int>(std::count_if(profile.mods.begin(), profile.mods.end(), Used)) + 3);
  // Without any active mod the add still runs, on an empty folder.
  CreatePath(paths.staging);
  std::string error;
  if (!UnpackMods(profile, paths.staging, steps, &error)) return Failed(error);
  std::string jar = paths.game_folder + "bin\\minecraft.jar";
  if (!BuildJar(profile.jar, jar, paths.staging, steps, &error)) return Failed(error);
  return {StampOutcome::Kind::kPatched, "", profile.name};
}

}  // namespace

StampPaths StampPathsFor(const std::string& instances_dir, const std::string& folder,
                         const std::string& start_folder) {
  return {instances_dir + folder + "\\.minecraft\\", start_folder + "Temp\\"};
}

StampOutcome StampProfile(const StampPaths& paths, base::ProgressSink& progress) {
  std::string config = paths.game_folder + "magic\\MagicLauncher.cfg";
  if (platform::FileSize(config) <= 0) return Failed("Stamp: No Alternate-Config-File");
  std::optional<std::string> text = platform::ReadWholeFile(config);
  if (!text) return Failed("stampit: Can't open Alternate-Config-File");
  // Files left by an interrupted run must not end up in this jar.
  platform::DeleteTree(paths.staging);
  StampOutcome outcome = StampActive(ReadActiveProfile(*text), paths, progress);
  platform::DeleteTree(paths.staging);
  return outcome;
}

}  // namespace oxlip::altlauncher

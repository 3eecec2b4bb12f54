#include "versions/downgrade.h"

#include <optional>
#include <set>

#include "archive/extract_budget.h"
#include "archive/seven_zip.h"
#include "base/create_path.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "base/start_folder.h"
#include "platform/file_writer.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "versions/patch_apply.h"
#include "versions/patch_naming.h"
#include "versions/version_index.h"

namespace oxlip {
namespace {

constexpr char kFileList[] = "__gpi_filelist.txt";

int Fail(const std::string& text) {
  SetErrorText(text);
  return 0;
}

// Where a step leaves the chain: the jar to go on from, and whether it must be unpacked.
struct Step {
  int made = 0;
  std::string next;  // empty: the chain ends here
  int next_unpack = 0;
};

// The record is written only once the jar exists, so a failed pack leaves "ver.ini" as it was.
int Pack(const base::GlobalSettings& settings, const std::string& work, const std::string& target,
         const versions::PatchOutcome& outcome) {
  // The archiver takes the list file and the names in it below the work folder, and so would
  // a relative target.
  std::string archive = base::FromStartFolder(settings.StartFolder, target);
  if (platform::FileSize(target) == 0) platform::DeleteFile(target);
  bool packed = SevenZip(nullptr, "u \"" + ToOemText(archive) + "\" -hide -tzip -mx9 @" + kFileList,
                         nullptr, 0, work) == 0;
  std::string why = packed ? "" : archive::SevenZipReason();
  if (!packed) {
    platform::DeleteFile(target);
    return Fail(base::WithReason("Downgrader: Can't create " + platform::NativePath(target), why));
  }
  platform::SetFileDate(target, outcome.newest);
  AddVersionRecord(settings, platform::FileNamePart(target),
                   outcome.class_date != 0 ? outcome.class_date : outcome.newest, outcome.version);
  return 1;
}

int MakeTarget(const base::GlobalSettings& settings, const std::string& source,
               const std::string& work, const versions::PatchChoice& choice,
               const std::string& target, int unpack) {
  if (unpack != 0) {
    // A staging folder: what an earlier run left there must not stand in for the jar's files.
    platform::DeleteTree(work);
    CreatePath(work);
    std::string refusal;
    if (archive::SevenZipWithinLimit(
            "x \"" + ToOemText(source) + "\" -hide -aoa -o\"" + ToOemText(work) + "\"", source,
            work, &refusal) != 0)
      return Fail(base::WithReason("Downgrade: Can't unpack", archive::ExtractionFailure(refusal)));
  }
  platform::FileWriter list;
  if (!list.Open(work + kFileList))
    return Fail(base::WithReason("Downgrade: Can't create filelist", list.error().reason));
  platform::Error reading;
  std::optional<std::string> patch = platform::ReadWholeFile(choice.patch_path, &reading);
  if (!patch)
    return Fail(base::WithReason(
        "Downgrade: Can't open patchfile " + platform::NativePath(choice.patch_path),
        reading.reason));
  versions::PatchOutcome outcome;
  std::string error;
  bool applied = versions::ApplyPatch(settings, *patch, work, list, &outcome, &error);
  bool listed = list.Close();
  if (!applied) return Fail(error);
  if (!listed)
    return Fail(base::WithReason("Downgrade: Can't create filelist", list.error().reason));
  return Pack(settings, work, target, outcome);
}

Step DowngradeOnce(const base::GlobalSettings& settings, const std::string& source,
                   const std::string& work, base::ProgressSink* status, int unpack) {
  Step step;
  std::string source_file = platform::FileNamePart(source);
  std::optional<versions::PatchChoice> choice = versions::FindPatch(settings.PatchDir, source_file);
  if (!choice) {
    Fail("Downgrade: no patch file");
    return step;
  }
  std::string target = settings.VersionsDir + choice->target_file;
  if (status) status->SetTime(source_file + " to " + choice->target_file);
  if (platform::FileSize(target) > 0) {
    Fail("Downgrade: File already exist");
    step.next = target;
    step.next_unpack = 1;
    return step;
  }
  step.made = MakeTarget(settings, source, work, *choice, target, unpack);
  if (step.made) step.next = target;
  return step;
}

}  // namespace

int Downgrade(const base::GlobalSettings& settings, const std::string& source,
              const std::string& work_folder, base::ProgressSink* status, int chain, int unpack) {
  // Patches that lead back to a jar already passed would go round for ever. Jars whose names
  // differ only in letter case are two files.
  std::set<std::string> visited{platform::FileNamePart(source)};
  Step step = DowngradeOnce(settings, source, work_folder, status, unpack);
  int result = step.made;
  while (chain != 0 && !step.next.empty() &&
         visited.insert(platform::FileNamePart(step.next)).second)
    step = DowngradeOnce(settings, step.next, work_folder, status, step.next_unpack);
  return result;
}

}  // namespace oxlip

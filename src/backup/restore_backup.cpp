#include "backup/restore_backup.h"

#include "archive/run_command.h"
#include "archive/work_progress.h"
#include "backup/backup_paths.h"
#include "base/create_path.h"
#include "base/oem_text.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/trash.h"

namespace oxlip::backup {
namespace {

std::string Shown(const std::string& path) { return platform::NativePath(path); }

// Deleted before and after use; in the instance folder, so the moves into place stay on one
// disk.
constexpr const char* kStaging = "restore.tmp";

void RemoveStaging(const std::string& staging) {
  if (platform::Exists(staging)) platform::DeleteTree(staging);
}

// The whole archive into the staging folder of `instance_folder`; false with the archiver's
// reason when any of it failed.
bool Unpack(const std::string& instance_folder, const std::string& archive, std::string* error) {
  if (!Quotable(archive)) {
    *error = "Can't restore " + Shown(archive) + ": its path holds a '\"'. Nothing was changed.";
    return false;
  }
  std::string why;
  if (archive::RunCommandLine("x \"" + ToOemText(archive) + "\" -o" + kStaging + " -aoa -hide",
                              instance_folder, &why) == archive::kSuccess)
    return true;
  *error = "Can't restore " + Shown(archive) + ", it is damaged or unreadable (" + why +
           "). Nothing was changed.";
  return false;
}

// The current item to the trash, then the staged one in its place (when there is one).
bool PutInPlace(const std::string& staged, const std::string& target, std::string* error) {
  if (platform::Exists(target) && platform::MoveToTrash(target) != platform::TrashOutcome::kMoved) {
    *error = "Can't move " + Shown(target) + " to the trash; it was left as it was.";
    return false;
  }
  if (!platform::Exists(staged) || platform::RenameFile(staged, target)) return true;
  // The backup stays in its archive and the replaced item in the trash: nothing is lost.
  *error = "Can't move the restored " + Shown(target) +
           " into place; the one it replaced is in "
           "the trash.";
  return false;
}

bool PlaceWorld(const std::string& instance_folder, const BackupArchive& backup,
                const std::string& staging, std::string* error) {
  std::string saves = instance_folder + "\\.minecraft\\saves\\";
  CreatePath(saves);
  return PutInPlace(staging, saves + backup.world, error);
}

bool PlaceInstance(const std::string& instance_folder, const BackupArchive& backup,
                   const std::string& staging, std::string* error) {
  if (!platform::IsFolder(staging + "\\.minecraft")) {
    *error = Shown(backup.path) + " holds no .minecraft folder. Nothing was changed.";
    return false;
  }
  if (!PutInPlace(staging + "\\.minecraft", instance_folder + "\\.minecraft", error)) return false;
  for (const char* record : kRestoredRecords)
    if (!PutInPlace(staging + "\\" + record, instance_folder + "\\" + record, error)) return false;
  return true;
}

}  // namespace

bool RestoreBackup(const std::string& instance_folder, const BackupArchive& backup,
                   base::ProgressSink& progress, std::string* error) {
  const std::string staging = instance_folder + "\\" + kStaging;
  progress.SetName(platform::FileNamePart(backup.path));
  progress.SetPercent(0);
  RemoveStaging(staging);
  // Made first: an archive of an empty world unpacks to an empty folder.
  if (!platform::CreateFolder(staging)) {
    *error = "Can't create " + Shown(staging) + ". Nothing was changed.";
    return false;
  }
  bool placed;
  {
    archive::ProgressScope scope(progress);
    placed = Unpack(instance_folder, backup.path, error);
  }
  // Stopped before anything was moved: nothing to say.
  if (!placed && progress.Cancelled()) error->clear();
  // The last point where stopping leaves everything as it was.
  if (placed) {
    progress.SetPercent(90);
    placed = backup.world.empty() ? PlaceInstance(instance_folder, backup, staging, error)
                                  : PlaceWorld(instance_folder, backup, staging, error);
  }
  RemoveStaging(staging);
  progress.SetPercent(100);
  return placed;
}

}  // namespace oxlip::backup

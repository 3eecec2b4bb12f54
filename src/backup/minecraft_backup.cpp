#include "archive/seven_zip.h"
#include "archive/work_progress.h"
#include "backup/backup.h"
#include "backup/backup_paths.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "base/tree_holds_file.h"
#include "platform/dates.h"
#include "platform/fs.h"

namespace oxlip {

int MineCraftBackup(const base::GlobalSettings& settings, const Instance& record,
                    base::ProgressSink* progress) {
  const std::string folder = backup::InstanceFolder(settings, record);
  const std::string archive =
      "backup\\" + std::to_string(platform::NowDateValue()) + " - " + record.Folder + ".7z";
  base::NoProgress silent;
  if (!progress) progress = &silent;
  progress->SetName(record.Name);
  int result = 0;
  std::string why;  // the archiver's reason, which names a file that could not be packed
  const std::string backups = folder + "\\backup";
  const bool had_backups = platform::IsFolder(backups);
  // "*" and the archive's name are taken inside the instance folder, which must be there. The
  // game's log is left out: it is written to whenever the game runs.
  if (backup::Quotable(archive) && platform::IsFolder(folder)) {
    archive::ProgressScope scope(*progress);
    result =
        SevenZip(nullptr,
                 "a \"" + ToOemText(archive) + "\" * -r -mx9 -x!backup -x!game.log -x!game.log.1",
                 nullptr, 0, folder + "\\") == 0;
    if (!result) why = archive::SevenZipReason();
  }
  if (result) return 1;
  // A stopped archive left no file; the folder made for it goes as well.
  if (!had_backups && !base::TreeHoldsFile(backups)) platform::DeleteTree(backups);
  SetErrorText(base::WithReason("MineCraftBackup: Can't backup.", why));
  return 0;
}

}  // namespace oxlip

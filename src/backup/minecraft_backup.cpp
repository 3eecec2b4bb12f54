#include "archive/seven_zip.h"
#include "backup/backup.h"
#include "backup/backup_paths.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "platform/dates.h"
#include "platform/fs.h"

namespace oxlip {

int MineCraftBackup(const GlobalSettings& settings, const Instance& record,
                    ProgressSink* progress) {
  const std::string folder = backup::InstanceFolder(settings, record);
  const std::string archive =
      "backup\\" + std::to_string(platform::NowDateValue()) + " - " + record.Folder + ".7z";
  if (progress) progress->SetName(record.Name);
  int result = 0;
  std::string why;  // the archiver's reason, which names a file that could not be packed
  // "*" and the archive's name are taken inside the instance folder, which must be there. The
  // game's log is left out: it is written to whenever the game runs.
  if (backup::Quotable(archive) && platform::IsFolder(folder)) {
    result =
        SevenZip(nullptr,
                 "a \"" + ToOemText(archive) + "\" * -r -mx9 -x!backup -x!game.log -x!game.log.1",
                 nullptr, 0, folder + "\\") == 0;
    if (!result) why = archive::SevenZipReason();
  }
  if (!result) SetErrorText(base::WithReason("MineCraftBackup: Can't backup.", why));
  return result;
}

}  // namespace oxlip

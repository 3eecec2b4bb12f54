#include "archive/seven_zip.h"
#include "backup/backup.h"
#include "backup/backup_paths.h"
#include "base/error_text.h"
#include "base/paths.h"
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
  // Outside the instance folder "*" would take in whatever folder is current. The game's log
  // is left out: it is written to whenever the game runs.
  if (backup::Quotable(archive) && platform::SetCurrentFolder(folder + "\\")) {
    result =
        SevenZip(nullptr,
                 "a \"" + ToOemText(archive) + "\" * -r -mx9 -x!backup -x!game.log -x!game.log.1",
                 nullptr, 0) == 0;
    if (!result) why = archive::SevenZipReason();
  }
  if (!result) SetErrorText(base::WithReason("MineCraftBackup: Can't backup.", why));
  platform::SetCurrentFolder(settings.StartFolder);
  return result;
}

}  // namespace oxlip

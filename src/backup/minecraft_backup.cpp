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
  // "*" and the archive's name are taken inside the instance folder; a missing one fails.
  if (backup::Quotable(archive))
    result = SevenZip(nullptr, "a \"" + ToOemText(archive) + "\" * -r -mx9 -x!backup", nullptr, 0,
                      folder + "\\") == 0;
  if (!result) SetErrorText("MineCraftBackup: Can't backup.");
  return result;
}

}  // namespace oxlip

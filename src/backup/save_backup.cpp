#include <string>
#include <vector>

#include "archive/seven_zip.h"
#include "archive/work_progress.h"
#include "backup/backup.h"
#include "backup/backup_paths.h"
#include "base/create_path.h"
#include "base/error_text.h"
#include "base/newest_file_date.h"
#include "base/oem_text.h"
#include "platform/dates.h"
#include "platform/fs.h"
#include "prefs/pref_file.h"

namespace oxlip {
namespace {

platform::DateValue ReadLastUpdate(const std::string& world_backup) {
  OpenPrefFile(world_backup + "lastupdate.ini");
  platform::DateValue last = ReadPrefNumber("LastUpdate", 0);
  ClosePrefFile();
  return last;
}

void WriteLastUpdate(const std::string& world_backup, platform::DateValue newest) {
  CreatePrefFile(world_backup + "lastupdate.ini");
  WritePrefNumber("LastUpdate", newest);
  ClosePrefFile();
}

// Archives one world from inside its folder; true on success. `why` receives the archiver's
// reason when it failed.
bool ArchiveWorld(const std::string& world, const std::string& world_backup, std::string* why,
                  base::ProgressSink& progress) {
  std::string archive = world_backup + std::to_string(platform::NowDateValue()) + ".7z";
  // "*" is taken inside the world folder.
  if (!backup::Quotable(archive)) return false;
  archive::ProgressScope scope(progress);
  if (SevenZip(nullptr, "a \"" + ToOemText(archive) + "\" * -r -mx9 -x!backup", nullptr, 0,
               world) == 0)
    return true;
  *why = archive::SevenZipReason();
  return false;
}

std::vector<std::string> Worlds(const std::string& saves) {
  std::vector<std::string> names;
  for (const platform::DirEntry& entry : platform::ListFolder(saves))
    if (entry.is_folder) names.push_back(entry.name);
  return names;
}

}  // namespace

int SaveBackup(const base::GlobalSettings& settings, const Instance& record,
               base::ProgressSink* progress) {
  const std::string folder = backup::InstanceFolder(settings, record);
  const std::string saves = folder + "\\.minecraft\\saves\\";
  const std::vector<std::string> worlds = Worlds(saves);
  base::NoProgress silent;
  if (!progress) progress = &silent;
  int result = 1;
  // A cancelled world keeps its record, so the next call backs it up.
  for (std::size_t i = 0; i < worlds.size() && !progress->Cancelled(); ++i) {
    const std::string& name = worlds[i];
    const std::string world = saves + name + "\\";
    platform::DateValue newest = NewestFileDate(world);
    const std::string world_backup = folder + "\\backup\\" + name + "\\";
    CreatePath(world_backup);
    if (ReadLastUpdate(world_backup) >= newest) continue;
    progress->SetName(name);
    progress->SetPercent(static_cast<int>(i * 100 / worlds.size()));
    std::string why;
    if (ArchiveWorld(world, world_backup, &why, *progress)) {
      WriteLastUpdate(world_backup, newest);
    } else {
      SetErrorText(base::WithReason("SaveBackup: Can't backup " + name, why));
      result = 0;
    }
  }
  if (progress->Cancelled()) return 0;
  progress->SetPercent(100);
  return result;
}

}  // namespace oxlip

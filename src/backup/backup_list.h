#pragma once
// The backups an instance holds: its world archives ("backup\<world>\<date>.7z") and its
// whole-instance archives ("backup\<date> - <folder>.7z").
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dates.h"

namespace oxlip::backup {

struct BackupArchive {
  std::string world;             // the world's folder name; "" for a whole-instance archive
  std::string path;              // the archive file
  platform::DateValue date = 0;  // from its name: when the backup was made
  std::int64_t size = 0;         // in bytes
};

// Every backup in the instance folder's "backup" folder, newest first (at the same date the
// whole instance first, then the worlds by name). Files named otherwise are not backups.
std::vector<BackupArchive> ListBackups(const std::string& instance_folder);

}  // namespace oxlip::backup

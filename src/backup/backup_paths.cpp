#include "backup/backup_paths.h"

#include "base/start_folder.h"
#include "platform/path.h"

namespace oxlip::backup {

std::string InstanceFolder(const base::GlobalSettings& settings, const Instance& record) {
  return base::FromStartFolder(settings.StartFolder, settings.InstancesDir + record.Folder);
}

bool Quotable(const std::string& path) { return path.find('"') == std::string::npos; }

}  // namespace oxlip::backup

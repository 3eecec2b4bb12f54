#include "backup/backup_paths.h"

#include "platform/path.h"

namespace oxlip::backup {

std::string InstanceFolder(const GlobalSettings& settings, const Instance& record) {
  std::string folder = settings.InstancesDir + record.Folder;
  return platform::IsAbsolutePath(folder) ? folder : settings.StartFolder + folder;
}

bool Quotable(const std::string& path) { return path.find('"') == std::string::npos; }

}  // namespace oxlip::backup

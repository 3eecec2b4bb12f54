#include "mods/mod_workspace.h"

#include "base/create_path.h"
#include "platform/fs.h"

namespace oxlip::mods {

std::string WorkspaceFolder(const base::GlobalSettings& settings) {
  return settings.CacheDir + kWorkspaceName;
}

void CreateWorkspaceFolders(const std::string& workspace) {
  CreatePath(workspace);
  for (const char* part : {"root", "root\\bin", "root\\config", "root\\resources", "root\\mods",
                           "minecraft.jar", "unused"})
    platform::CreateFolder(workspace + part);
}

}  // namespace oxlip::mods

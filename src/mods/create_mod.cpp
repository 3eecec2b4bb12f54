#include "archive/seven_zip.h"
#include "base/error_text.h"
#include "base/paths.h"
#include "mods/mod_workspace.h"
#include "platform/fs.h"

namespace oxlip {

namespace mods {

std::string WorkspaceFolder(const GlobalSettings& settings) {
  return settings.CacheDir + kWorkspaceName;
}

void CreateWorkspaceFolders(const std::string& workspace) {
  CreatePath(workspace);
  for (const char* part : {"root", "root\\bin", "root\\config", "root\\resources", "root\\mods",
                           "minecraft.jar", "unused"})
    platform::CreateFolder(workspace + part);
}

}  // namespace mods

namespace {

// Packs one part of the workspace as the archive names it: "*" from inside the part.
int PackPart(const std::string& part, const std::string& archive, const char* failure) {
  if (!base::TreeHoldsFile(part + "\\")) return 1;
  // Never "*" of whatever folder happens to be current.
  std::string why;
  if (platform::SetCurrentFolder(part)) {
    if (SevenZip(nullptr, "a \"" + ToOemText(archive) + "\" * -r -mx9", nullptr, 0) == 0) return 1;
    why = archive::SevenZipReason();
  }
  SetErrorText(base::WithReason(failure, why));
  return 0;
}

}  // namespace

int CreateMod(const GlobalSettings& settings, ModRecord& record) {
  std::string folder = MakeFolderName("[" + record.Version + "]" + record.Name, settings.ModDir);
  platform::CreateFolder(settings.ModDir + folder);
  folder += "\\";
  // Absolute, since packing a part makes that part the current folder.
  std::string workspace =
      base::FromStartFolder(settings.StartFolder, mods::WorkspaceFolder(settings));
  std::string target = base::FromStartFolder(settings.StartFolder, settings.ModDir + folder);
  int result = PackPart(workspace + "minecraft.jar", target + "minecraftjar.7z",
                        "CreateMod:Can't pack minecraftjar.7z");
  result &= PackPart(workspace + "root", target + "root.7z", "CreateMod:Can't pack root.7z");
  platform::SetCurrentFolder(settings.StartFolder);
  record.Dir = folder;
  WriteModIni(settings, record);
  return result;
}

}  // namespace oxlip

#include "mods/create_mod.h"

#include "archive/seven_zip.h"
#include "archive/work_progress.h"
#include "base/error_text.h"
#include "base/folder_name.h"
#include "base/oem_text.h"
#include "base/start_folder.h"
#include "base/tree_holds_file.h"
#include "mods/mod_workspace.h"
#include "platform/fs.h"

namespace oxlip {
namespace {

// Packs one part of the workspace as the archive names it: "*" from inside the part.
int PackPart(const std::string& part, const std::string& archive, const char* failure) {
  if (!base::TreeHoldsFile(part + "\\")) return 1;
  if (SevenZip(nullptr, "a \"" + ToOemText(archive) + "\" * -r -mx9", nullptr, 0, part) == 0)
    return 1;
  SetErrorText(base::WithReason(failure, archive::SevenZipReason()));
  return 0;
}

}  // namespace

int CreateMod(const base::GlobalSettings& settings, ModRecord& record,
              base::ProgressSink* progress) {
  base::NoProgress silent;
  if (!progress) progress = &silent;
  archive::ProgressScope scope(*progress);
  std::string folder = MakeFolderName("[" + record.Version + "]" + record.Name, settings.ModDir);
  platform::CreateFolder(settings.ModDir + folder);
  folder += "\\";
  // Absolute: the archiver takes relative paths below the part it packs.
  std::string workspace =
      base::FromStartFolder(settings.StartFolder, mods::WorkspaceFolder(settings));
  std::string target = base::FromStartFolder(settings.StartFolder, settings.ModDir + folder);
  int result = PackPart(workspace + "minecraft.jar", target + "minecraftjar.7z",
                        "CreateMod:Can't pack minecraftjar.7z");
  result &= PackPart(workspace + "root", target + "root.7z", "CreateMod:Can't pack root.7z");
  if (!result && progress->Cancelled()) {
    platform::DeleteTree(settings.ModDir + folder);
    return 0;
  }
  record.Dir = folder;
  WriteModIni(settings, record);
  return result;
}

}  // namespace oxlip

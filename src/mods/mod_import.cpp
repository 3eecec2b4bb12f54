#include "mods/mod_import.h"

#include "archive/extract_budget.h"
#include "archive/seven_zip.h"
#include "archive/work_progress.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "mods/mod_workspace.h"
#include "mods/sort_mod_files.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::mods {

bool IsModArchive(const std::string& archive) {
  std::string name = platform::FileNamePart(archive);
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = platform::LowerAscii(name.substr(dot + 1));
  return extension == "zip" || extension == "7z";
}

std::string ImportStagingFolder(const base::GlobalSettings& settings) {
  return settings.CacheDir + "unzipped\\";
}

bool UnpackModArchive(const base::GlobalSettings& settings, const std::string& archive,
                      std::string* error, base::ProgressSink& progress) {
  ClearImportFolders(settings);
  const std::string staging = ImportStagingFolder(settings);
  std::string refusal;
  archive::ProgressScope scope(progress);
  int rc = archive::SevenZipWithinLimit(
      "x \"" + ToOemText(archive) + "\" * -o\"" + ToOemText(staging) + "\" -aoa -hide", archive,
      staging, &refusal);
  if (!refusal.empty()) {
    *error = base::WithReason("ImportMod: Refused " + platform::NativePath(archive), refusal);
    return false;
  }
  if (rc != 0) {
    *error = base::WithReason("ImportMod: Can't unpack " + platform::NativePath(archive),
                              archive::SevenZipReason());
    return false;
  }
  SortModFiles(staging, WorkspaceFolder(settings));
  return true;
}

void ClearImportFolders(const base::GlobalSettings& settings) {
  platform::DeleteTree(ImportStagingFolder(settings));
  platform::DeleteTree(WorkspaceFolder(settings));
}

std::string ImportedModName(const std::string& archive) {
  std::string name = platform::FileNamePart(archive);
  std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace oxlip::mods

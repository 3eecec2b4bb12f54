#include "app/import_mod.h"

#include "app/behind_status.h"
#include "app/check_result.h"
#include "app/new_mod.h"
#include "base/error_text.h"
#include "mods/mod_import.h"
#include "platform/path.h"

namespace oxlip {

std::string ImportMod(const base::GlobalSettings& settings, const versions::VersionList& versions,
                      app::Ui& ui, const std::string& archive) {
  if (!mods::IsModArchive(archive)) return "";
  std::string error;
  app::WorkEnd unpacked = app::CancellableBehindStatus(
      ui, "Unpacking mod", platform::FileNamePart(archive), true,
      [&](base::ProgressSink& progress) {
        return mods::UnpackModArchive(settings, archive, &error, progress);
      });
  ModRecord record;
  if (unpacked == app::WorkEnd::kDone) {
    record.Name = mods::ImportedModName(archive);
    record.Version = settings.LatestVersionNr;
    app::ConfirmAndPack(settings, versions, ui, record);
  }
  mods::ClearImportFolders(settings);
  if (unpacked == app::WorkEnd::kFailed) {
    SetErrorText(error);
    CheckResult(ui, 0);
  }
  return record.Dir;
}

}  // namespace oxlip

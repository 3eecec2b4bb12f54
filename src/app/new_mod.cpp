#include "app/new_mod.h"

#include "app/behind_status.h"
#include "app/check_result.h"
#include "app/mod_dialog_model.h"
#include "mods/create_mod.h"
#include "mods/mod_workspace.h"
#include "platform/fs.h"

namespace oxlip {
namespace app {

bool ConfirmAndPack(const base::GlobalSettings& settings, const versions::VersionList& versions,
                    app::Ui& ui, ModRecord& record) {
  ModDialogModel model(mods::WorkspaceFolder(settings), versions, record);
  if (!ui.RunModDialog(model)) return false;
  model.Confirm();
  WorkEnd end = CancellableBehindStatus(
      ui, "Packing mod", record.Name, true,
      [&](base::ProgressSink& progress) { return CreateMod(settings, record, &progress); });
  // After a failure the mod is listed all the same, with the archive that could be made; a
  // cancelled one was not made.
  ReportWorkEnd(ui, end);
  return end != WorkEnd::kCancelled;
}

}  // namespace app

std::string NewMod(const base::GlobalSettings& settings, const versions::VersionList& versions,
                   app::Ui& ui) {
  std::string workspace = mods::WorkspaceFolder(settings);
  platform::DeleteTree(workspace);
  mods::CreateWorkspaceFolders(workspace);
  ModRecord record;
  record.Name = "new";
  record.Version = settings.LatestVersionNr;
  app::ConfirmAndPack(settings, versions, ui, record);
  platform::DeleteTree(workspace);
  return record.Dir;
}

}  // namespace oxlip

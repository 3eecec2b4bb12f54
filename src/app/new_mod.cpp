#include "mods/new_mod.h"

#include "base/behind_status.h"
#include "base/check_result.h"
#include "mods/mod_dialog_model.h"
#include "mods/mod_workspace.h"
#include "platform/fs.h"

namespace oxlip {

namespace mods {

bool ConfirmAndPack(const GlobalSettings& settings, const VersionList& versions, Ui& ui,
                    ModRecord& record) {
  ModDialogModel model(WorkspaceFolder(settings), versions, record);
  if (!ui.RunModDialog(model)) return false;
  model.Confirm();
  int result = base::BehindStatus(ui, "Packing mod", record.Name, true,
                                  [&](ProgressSink&) { return CreateMod(settings, record); });
  // The mod is listed all the same, with the archive that could be made.
  CheckResult(ui, result);
  return true;
}

}  // namespace mods

std::string NewMod(const GlobalSettings& settings, const VersionList& versions, Ui& ui) {
  std::string workspace = mods::WorkspaceFolder(settings);
  platform::DeleteTree(workspace);
  mods::CreateWorkspaceFolders(workspace);
  ModRecord record;
  record.Name = "new";
  record.Version = settings.LatestVersionNr;
  mods::ConfirmAndPack(settings, versions, ui, record);
  platform::DeleteTree(workspace);
  return record.Dir;
}

}  // namespace oxlip

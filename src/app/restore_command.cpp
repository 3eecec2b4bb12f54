// "Restore backup" on the instance of the menu: its backups listed, the chosen one put back.
#include "app/app_state.h"
#include "app/check_result.h"
#include "app/command_registry.h"
#include "app/instance_rebuild.h"
#include "app/menus.h"
#include "app/restore_choice_model.h"
#include "backup/backup_paths.h"
#include "backup/restore_backup.h"
#include "instances/mod_list_file.h"
#include "platform/fs.h"

namespace oxlip::app {
namespace {

// The restored mod list is what the record holds from now on, so the next save keeps it.
void ReadRestoredMods(const std::string& folder, Instance& record) {
  std::optional<std::string> text = platform::ReadWholeFile(folder + "\\mods.ini");
  record.Mods = text ? instances::ParseModListText(*text) : std::vector<std::string>{};
}

int RestoreBackupCommand(AppState& state, Ui& ui, const MenuSelection& selection) {
  Instance* record = selection.instance;
  if (!record) return 1;
  // The game writes to its worlds while it runs.
  if (!RefuseWhileGameRuns(state, *record, "RestoreBackup")) return CheckResult(ui, 0);
  const std::string folder = backup::InstanceFolder(state.settings, *record);
  RestoreChoiceModel model(record->Name, backup::ListBackups(folder));
  if (model.rows() == 0) {
    ui.ShowMessage("Oxlip", "RestoreBackup: " + record->Name + " has no backups yet.");
    return 1;
  }
  if (!ui.RunRestoreDialog(model) || !model.chosen()) return 1;
  const backup::BackupArchive chosen = *model.chosen();
  std::string error;
  int restored = ui.RunWithProgress(
      RestoreChoiceModel::kTitle, record->Name, [&](base::ProgressSink& progress) {
        return backup::RestoreBackup(folder, chosen, progress, &error) ? 1 : 0;
      });
  // Also after a failure part-way: the record follows what is on disk.
  if (chosen.world.empty()) ReadRestoredMods(folder, *record);
  if (restored || error.empty()) return 1;  // done, or cancelled before any change
  ui.ShowMessage("Oxlip", "RestoreBackup: " + error);
  return 0;
}

}  // namespace

void RegisterRestoreCommand(CommandTable& table) {
  table.Register(kCmdRestoreBackup, RestoreBackupCommand);
}

}  // namespace oxlip::app

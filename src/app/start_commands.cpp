// Start, Start with alternate, Backup and Backup saves on the instance of the menu.
#include "app/app_state.h"
#include "app/behind_status.h"
#include "app/check_result.h"
#include "app/command_registry.h"
#include "app/instance_rebuild.h"
#include "app/menus.h"
#include "app/start_minecraft.h"
#include "backup/backup.h"

namespace oxlip::app {
namespace {

int Start(AppState& state, Ui& ui, Instance& record) {
  GameStart start{state.settings, ui, state.game};
  return CheckResult(ui, StartMinecraft(start, record));
}

// The other start mode for this one start: the alternate launcher, or the built-in start when
// the alternate launcher is the instance's own. The change is never saved.
int StartWithAlternate(AppState& state, Ui& ui, Instance& record) {
  const int own = record.UseLauncher;
  record.UseLauncher = own == 2 ? 0 : 2;
  int result = Start(state, ui, record);
  record.UseLauncher = own;
  return result;
}

using BackupWork = int (*)(const base::GlobalSettings&, const Instance&, base::ProgressSink*);

// Off the GUI thread behind the status window; the worker reads its own copy of the record.
int RunBackup(AppState& state, Ui& ui, const Instance& record, const char* title,
              const char* operation, BackupWork work) {
  if (!RefuseWhileGameRuns(state, record, operation)) return CheckResult(ui, 0);
  Instance copy;
  copy.Name = record.Name;
  copy.Folder = record.Folder;
  const base::GlobalSettings& settings = state.settings;
  return ReportWorkEnd(
      ui, CancellableBehindStatus(ui, title, record.Name, true, [&](base::ProgressSink& progress) {
        return work(settings, copy, &progress);
      }));
}

// Commands on an instance do nothing when the menu's row had none.
CommandHandler OnInstance(int (*command)(AppState&, Ui&, Instance&)) {
  return [command](AppState& state, Ui& ui, const MenuSelection& selection) {
    return selection.instance ? command(state, ui, *selection.instance) : 1;
  };
}

}  // namespace

void RegisterStartCommands(CommandTable& table) {
  table.Register(kCmdStart, OnInstance(Start));
  table.Register(kCmdStartAlternate, OnInstance(StartWithAlternate));
  table.Register(kCmdBackup, OnInstance([](AppState& state, Ui& ui, Instance& record) {
                   return RunBackup(state, ui, record, "Backup", "MineCraftBackup",
                                    MineCraftBackup);
                 }));
  table.Register(kCmdBackupSaves, OnInstance([](AppState& state, Ui& ui, Instance& record) {
                   return RunBackup(state, ui, record, "Backup saves", "SaveBackup", SaveBackup);
                 }));
}

}  // namespace oxlip::app

#include "app/instance_rebuild.h"

#include <vector>

#include "app/behind_status.h"
#include "app/check_result.h"
#include "backup/backup.h"
#include "base/error_text.h"
#include "mods/mod_install.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::app {

void InstallModsBehindStatus(AppState& state, Ui& ui, const Instance& record, int overwrite) {
  ReportWorkEnd(ui, CancellableBehindStatus(
                        ui, "Install mods", record.Name, false, [&](base::ProgressSink& progress) {
                          return installmod(state.settings, record, overwrite, progress);
                        }));
}

int RefuseWhileGameRuns(AppState& state, const Instance& record, const std::string& operation) {
  if (!launch::GameRunsIn(state.game, record.Folder)) return 1;
  SetErrorText(operation + ": the game is running; close it first");
  return 0;
}

int BackupBehindStatus(AppState& state, Ui& ui, const Instance& record) {
  if (!RefuseWhileGameRuns(state, record, "MineCraftBackup")) return CheckResult(ui, 0);
  Instance copy;  // the worker reads its own copy of what the backup needs
  copy.Name = record.Name;
  copy.Folder = record.Folder;
  return ReportWorkEnd(ui, CancellableBehindStatus(
                               ui, "Backup", record.Name, true, [&](base::ProgressSink& progress) {
                                 return MineCraftBackup(state.settings, copy, &progress);
                               }));
}

WorkEnd CopyGameFolder(Ui& ui, const std::string& operation, const std::string& from,
                       const std::string& to) {
  std::vector<std::string> skipped;
  platform::Error error;
  // A linked "saves" folder on another disk is copied, a link back into the tree is not.
  WorkEnd end = RunCancellable(ui, [&](base::ProgressSink& progress) {
    return platform::CopyTree(from, to, platform::FollowLinks::kGuarded, &skipped, &error,
                              [&] { return !progress.Cancelled(); })
               ? 1
               : 0;
  });
  // The copy itself names no failure; without this the box would show an older text.
  if (end == WorkEnd::kFailed) {
    SetErrorText(base::WithReason(operation + ": Can't copy " + platform::NativePath(from) +
                                      " to " + platform::NativePath(to),
                                  error.reason));
  } else if (end == WorkEnd::kDone && !skipped.empty()) {
    std::string text = operation + ": Not copied (broken links, loops, special files):";
    for (const std::string& name : skipped) text += "\n" + name;
    ui.ShowMessage("Oxlip", text);
  }
  return end;
}

Instance& AddInstance(AppState& state, Ui& ui) {
  state.instances.push_back(std::make_unique<Instance>());
  Instance& record = *state.instances.back();
  CopyInstance(record, state.edit);
  state.instance_list.push_back(&record);
  ui.InstanceRowChanged(static_cast<int>(state.instance_list.size()) - 1, RowChange::kAdded);
  return record;
}

bool NeedsRebuild(const Instance& before, const Instance& after) {
  return before.MineCraftFile != after.MineCraftFile || before.Mods != after.Mods;
}

}  // namespace oxlip::app

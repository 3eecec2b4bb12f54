#include "app/instance_rebuild.h"

#include "app/behind_status.h"
#include "backup/backup.h"
#include "base/error_text.h"
#include "mods/mod_install.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::app {

void InstallModsBehindStatus(AppState& state, Ui& ui, const Instance& record, int overwrite) {
  app::BehindStatus(ui, "Install mods", record.Name, false, [&](ProgressSink& progress) {
    installmod(state.settings, record, overwrite, progress);
    return 1;
  });
}

int BackupBehindStatus(AppState& state, Ui& ui, const Instance& record) {
  Instance copy;  // the worker reads its own copy of what the backup needs
  copy.Name = record.Name;
  copy.Folder = record.Folder;
  return app::BehindStatus(ui, "Backup", record.Name, true, [&](ProgressSink& progress) {
    return MineCraftBackup(state.settings, copy, &progress);
  });
}

int CopyGameFolder(Ui& ui, const std::string& operation, const std::string& from,
                   const std::string& to) {
  int copied = ui.RunBehindStatus([&](ProgressSink&) { return platform::CopyTree(from, to); });
  // The copy itself names no failure; without this the box would show an older text.
  if (!copied)
    SetErrorText(operation + ": Can't copy " + platform::NativePath(from) + " to " +
                 platform::NativePath(to));
  return copied;
}

Instance& AddInstance(AppState& state, Ui& ui) {
  state.instances.push_back(std::make_unique<Instance>());
  Instance& record = *state.instances.back();
  CopyInstance(record, state.edit);
  state.instance_list.push_back(&record);
  ui.ListChanged(ListKind::kInstances);
  return record;
}

bool NeedsRebuild(const Instance& before, const Instance& after) {
  return before.MineCraftFile != after.MineCraftFile || before.Mods != after.Mods;
}

}  // namespace oxlip::app

// The instance commands that go through the configuration dialog: new, import, clone, config,
// and the repair that rebuilds an instance.
#include "app/app_state.h"
#include "app/behind_status.h"
#include "app/check_result.h"
#include "app/command_registry.h"
#include "app/instance_dialog.h"
#include "app/instance_rebuild.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/update_instance.h"
#include "base/create_path.h"
#include "base/folder_name.h"
#include "instances/icon_files.h"
#include "instances/load_instance.h"
#include "instances/save_instance.h"
#include "mods/mod_install.h"
#include "platform/fs.h"
#include "versions/download_engine.h"

namespace oxlip::app {
namespace {

versions::DownloadContext Downloads(AppState& state) {
  return versions::DownloadContext{state.settings, state.remote, state.downloads};
}

// A cancelled dialog changes nothing; the edit copy lets go of its icon.
int Cancelled(Instance& edit) {
  FreeInstanceIcon(edit);
  return 1;
}

void LoadDefaults(AppState& state) {
  instances::InstanceContext context{state.settings,
                                     state.versions.empty() ? "" : state.versions.front().File,
                                     state.default_icon, state.java_path};
  LoadInstance(state.edit, "", context);
}

std::string GameFolder(const base::GlobalSettings& settings, const std::string& folder) {
  return settings.InstancesDir + folder + "\\.minecraft\\";
}

int NewInstance(AppState& state, Ui& ui, const MenuSelection&) {
  LoadDefaults(state);
  Instance& edit = state.edit;
  if (!InstanceDialog(state, ui, edit)) return Cancelled(edit);
  edit.Folder = MakeFolderName(edit.Name, state.settings.InstancesDir);
  versions::DownloadContext context = Downloads(state);
  bool cancelled = false;
  int updated = UpdateInstance(context, ui, edit, true, state.dates, &cancelled);
  if (updated) {
    InstallModsBehindStatus(state, ui, edit, 1);
    AddInstance(state, ui);
  } else if (cancelled) {
    // Left behind, it would be listed as an instance at the next start.
    platform::DeleteTree(state.settings.InstancesDir + edit.Folder);
  } else {
    CheckResult(ui, 0);
  }
  FreeInstanceIcon(edit);
  return updated;
}

// The launcher jar next to what the user's own game folder held; failures stay silent.
void AddLauncherJar(AppState& state, const std::string& target) {
  versions::DownloadContext context = Downloads(state);
  if (GetMCFileList(state.settings, state.remote, state.settings.MCURL, "download\\") &&
      DownloadMCFile(context, "launcher\\MinecraftLauncher.jar",
                     target + "bin\\MinecraftLauncher.jar"))
    DoDownloads(context, nullptr);
}

int ImportOriginal(AppState& state, Ui& ui, const MenuSelection&) {
  LoadDefaults(state);
  Instance& edit = state.edit;
  edit.Name = "Imported";
  if (!InstanceDialog(state, ui, edit)) return Cancelled(edit);
  ui.ShowStatusWindow("Import original installation", "", true);
  edit.Folder = MakeFolderName(edit.Name, state.settings.InstancesDir);
  std::string target = GameFolder(state.settings, edit.Folder);
  CreatePath(target);
  int copied = ReportWorkEnd(ui, CopyGameFolder(ui, "Import from original",
                                                state.settings.AppData + "\\.minecraft\\", target));
  if (copied) {
    ui.RunBehindStatus([&](base::ProgressSink&) {
      AddLauncherJar(state, target);
      return 1;
    });
    SaveInstance(AddInstance(state, ui), "", state.settings);
  } else {
    // Left behind, failed or cancelled, it would be listed as an instance at the next start.
    platform::DeleteTree(state.settings.InstancesDir + edit.Folder);
  }
  ui.CloseStatusWindow();
  FreeInstanceIcon(edit);
  return copied;
}

int Clone(AppState& state, Ui& ui, const MenuSelection& selection) {
  if (!selection.instance) return 1;
  const Instance source = *selection.instance;  // the list may grow while the dialog runs
  Instance& edit = state.edit;
  CopyInstance(edit, source);
  edit.Name += " - copy";
  // The source's icon file goes along, so the clone keeps its icon beyond this run.
  if (edit.IconFile.empty())
    edit.IconFile = instances::FindIconFile(state.settings.InstancesDir + source.Folder + "\\");
  if (!InstanceDialog(state, ui, edit)) return Cancelled(edit);
  ui.ShowStatusWindow("Clone instance", edit.Name, true);
  edit.Folder = MakeFolderName(edit.Name, state.settings.InstancesDir);
  std::string target = GameFolder(state.settings, edit.Folder);
  CreatePath(target);
  int copied = ReportWorkEnd(
      ui, CopyGameFolder(ui, "Clone", GameFolder(state.settings, source.Folder), target));
  if (copied) {
    Instance& clone = AddInstance(state, ui);
    SaveInstance(clone, "", state.settings);
    // Its own copy from now on: later saves must not take the source's icon again.
    clone.IconFile = instances::FindIconFile(state.settings.InstancesDir + clone.Folder + "\\");
  } else {
    // Left behind, failed or cancelled, it would be listed as an instance at the next start.
    platform::DeleteTree(state.settings.InstancesDir + edit.Folder);
  }
  ui.CloseStatusWindow();
  FreeInstanceIcon(edit);
  return copied;
}

int Config(AppState& state, Ui& ui, const MenuSelection& selection) {
  Instance* record = selection.instance;
  if (!record) return 1;
  Instance& edit = state.edit;
  CopyInstance(edit, *record);
  if (!InstanceDialog(state, ui, edit)) return Cancelled(edit);
  bool rebuild = NeedsRebuild(*record, edit);
  CopyInstance(*record, edit);
  SaveInstance(*record, "", state.settings);
  // Only this row is drawn again; the list keeps its place and shows what was worked on.
  int row = RowOfInstance(state, record);
  if (row >= 0) {
    ui.InstanceRowChanged(row, RowChange::kEdited);
    ui.SelectInstanceRow(row);
  }
  if (rebuild) {
    versions::DownloadContext context = Downloads(state);
    UpdateInstance(context, ui, *record, false, state.dates);  // a failure here is not shown
    InstallModsBehindStatus(state, ui, *record, 0);
  }
  FreeInstanceIcon(edit);
  return 1;
}

int Repair(AppState& state, Ui& ui, const MenuSelection& selection) {
  Instance* record = selection.instance;
  if (!record) return 1;
  if (record->BackupBeforUpdate && !BackupBehindStatus(state, ui, *record)) return 0;
  UninstallMods(state.settings, *record);
  versions::DownloadContext context = Downloads(state);
  bool cancelled = false;
  int updated = UpdateInstance(context, ui, *record, true, state.dates, &cancelled);
  if (!cancelled) CheckResult(ui, updated);
  // Also after a failed or cancelled update: the mods taken out above come back.
  InstallModsBehindStatus(state, ui, *record, 1);
  return updated;
}

}  // namespace

void RegisterInstanceBuildCommands(CommandTable& table) {
  table.Register(kCmdNewInstance, NewInstance);
  table.Register(kCmdImportOriginal, ImportOriginal);
  table.Register(kCmdClone, Clone);
  table.Register(kCmdConfig, Config);
  table.Register(kCmdRepair, Repair);
}

}  // namespace oxlip::app

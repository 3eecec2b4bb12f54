// The commands of the instance list that act on one instance's folders.
#include <algorithm>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/not_trashed.h"
#include "platform/trash.h"

namespace oxlip::app {
namespace {

// The instance folder, or one of its game folders, in the desktop's file browser.
CommandHandler OpenFolder(std::string sub) {
  return [sub](AppState& state, Ui& ui, const MenuSelection& selection) {
    if (!selection.instance) return 1;
    ui.OpenFolder(state.settings.InstancesDir + selection.instance->Folder + sub);
    return 1;
  };
}

// No question is asked; the folder goes to the trash, so a slip can be undone there.
int DeleteInstance(AppState& state, Ui& ui, const MenuSelection& selection) {
  Instance* record = selection.instance;
  if (!record) return 1;
  std::string folder = state.settings.InstancesDir + record->Folder;
  if (!platform::TrashOrDelete(folder)) return ReportNotTrashed(ui, folder);
  int row = RowOfInstance(state, record);
  std::erase(state.instance_list, record);
  if (row >= 0) ui.InstanceRowChanged(row, RowChange::kRemoved);
  FreeInstanceIcon(*record);
  std::erase_if(state.instances, [record](const auto& owned) { return owned.get() == record; });
  state.selection.instance = nullptr;
  return 1;
}

}  // namespace

void RegisterInstanceCommands(CommandTable& table) {
  table.Register(kCmdDelete, DeleteInstance);
  table.Register(kCmdOpenInstance, OpenFolder(""));
  table.Register(kCmdOpenSaves, OpenFolder("\\.minecraft\\saves"));
  table.Register(kCmdOpenScreenshots, OpenFolder("\\.minecraft\\screenshots"));
  table.Register(kCmdOpenTexturepacks, OpenFolder("\\.minecraft\\texturepacks"));
}

}  // namespace oxlip::app

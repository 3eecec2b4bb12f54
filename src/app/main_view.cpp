#include "app/main_view.h"

#include <algorithm>

#include "app/instance_icons.h"
#include "app/move_row.h"
#include "app/sort_order.h"

namespace oxlip::app {

Instance* InstanceAtRow(const AppState& state, int row) {
  if (row < 0 || row >= static_cast<int>(state.instance_list.size())) return nullptr;
  return state.instance_list[row];
}

int RowOfInstance(const AppState& state, const Instance* record) {
  auto found = std::find(state.instance_list.begin(), state.instance_list.end(), record);
  return found == state.instance_list.end() ? -1
                                            : static_cast<int>(found - state.instance_list.begin());
}

Menu RightClickMenu(AppState& state, ListKind list, int selected_row) {
  bool has_row = selected_row >= 0;
  if (has_row) state.selection.row = selected_row;
  switch (list) {
    case ListKind::kMods:
      return BuildMenu(has_row ? MenuKind::kModRow : MenuKind::kModList);
    case ListKind::kVersions:
      return BuildMenu(has_row ? MenuKind::kVersionRow : MenuKind::kVersionList);
    case ListKind::kInstances:
      break;
  }
  if (!has_row) return BuildMenu(MenuKind::kInstanceArea);
  state.selection.instance = InstanceAtRow(state, selected_row);
  if (!state.selection.instance) return {};
  const Instance& record = *state.selection.instance;
  return InstanceMenuFor(record.Name, !record.AltLauncher.empty());
}

int RunMenuCommand(AppState& state, Ui& ui, int id) {
  MenuSelection selection = state.selection;
  // A command may copy the record or show its icon: one still being read is read now.
  if (selection.instance) SettleInstanceIcon(state, ui, *selection.instance);
  return state.commands.Run(id, state, ui, selection);
}

int DoubleClickInstance(AppState& state, Ui& ui, int selected_row) {
  Instance* record = InstanceAtRow(state, selected_row);
  if (!record) return 1;
  MenuSelection selection = state.selection;
  selection.row = selected_row;
  selection.instance = record;
  return state.commands.Run(kCmdStart, state, ui, selection);
}

void StartInstanceDrag(AppState& state, int selected_row) {
  state.selection.drag_row = selected_row;
}

bool DropInstance(AppState& state, int target_row) {
  int count = static_cast<int>(state.instance_list.size());
  if (target_row < 0 || target_row >= count) return false;
  return MoveRow(state.instance_list, state.selection.drag_row, target_row);
}

int DropFiles(AppState& state, Ui& ui, ListKind list, const std::string& names) {
  std::string first = names.substr(0, names.find('\n'));
  if (!first.empty() && first.back() == '\r') first.pop_back();
  if (first.empty() || list == ListKind::kInstances) return 1;
  MenuSelection selection = state.selection;
  selection.file = first;
  int id = list == ListKind::kVersions ? kCmdDropVersionFile : kCmdDropModFile;
  return state.commands.Run(id, state, ui, selection);
}

}  // namespace oxlip::app

#pragma once
// What the main window's events do, decided in the core: the window reports the event and
// the selected row, and draws what these return.
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/menus.h"
#include "app/ui.h"

namespace oxlip::app {

// Commands reached by dropping files rather than by a menu item.
inline constexpr int kCmdDropVersionFile = 100;
inline constexpr int kCmdDropModFile = 101;

// The popup menu a right click on `list` shows, with `selected_row` -1 when no row is
// selected; remembers the row (and its instance) for the command that follows.
Menu RightClickMenu(AppState& state, ListKind list, int selected_row);

// The command of a menu item, acting on the remembered selection. Its result; commands show
// their own failures.
int RunMenuCommand(AppState& state, Ui& ui, int id);

// Starts the instance of the selected row; nothing without one.
int DoubleClickInstance(AppState& state, Ui& ui, int selected_row);

void StartInstanceDrag(AppState& state, int selected_row);
// Moves the drag row to `target_row` of the instance list; false when nothing moves.
bool DropInstance(AppState& state, int target_row);

// Files dropped on the version or mod list, as one text of names separated by line feeds;
// only the first is used.
int DropFiles(AppState& state, Ui& ui, ListKind list, const std::string& names);

// The instance of a row of the instance list; null outside it.
Instance* InstanceAtRow(const AppState& state, int row);
// The row of an instance in the instance list; -1 when it is not listed.
int RowOfInstance(const AppState& state, const Instance* record);

}  // namespace oxlip::app

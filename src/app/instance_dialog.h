#pragma once
// The instance configuration dialog as the commands run it.
#include "app/app_state.h"
#include "app/instance_dialog_model.h"
#include "app/ui.h"
#include "instances/instance.h"

namespace oxlip {

// Edits `record` (the edit copy) in the dialog: true when confirmed, with the edited values
// in the record; false leaves it as it was. Writes no instance file; mods made or imported
// meanwhile stay in the library either way.
bool InstanceDialog(app::AppState& state, app::Ui& ui, Instance& record);

}  // namespace oxlip

namespace oxlip::app {

// The dialog's services over the program's state: "New mod", "Import mod" and the login run
// their flows; a rescan also redraws the main window's mod list, whose rows it replaced.
InstanceDialogModel::Services DialogServices(AppState& state, Ui& ui);

}  // namespace oxlip::app

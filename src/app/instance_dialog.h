#pragma once
// The instance configuration dialog as the commands run it.
#include "app/app_state.h"
#include "base/ui.h"
#include "instances/instance.h"
#include "instances/instance_dialog_services.h"
#include "instances/library_mod.h"

namespace oxlip {

// Edits `record` (the edit copy) in the dialog: true when confirmed, with the edited values
// in the record; false leaves it as it was. Writes no instance file; mods made or imported
// meanwhile stay in the library either way.
bool InstanceDialog(AppState& state, Ui& ui, Instance& record);

}  // namespace oxlip

namespace oxlip::app {

instances::LibraryMods DialogLibrary(const ModList& mods);
// The dialog's services over the program's state; a rescan also redraws the main window's
// mod list, whose rows the rescan replaced.
instances::InstanceDialogServices DialogServices(AppState& state, Ui& ui);

}  // namespace oxlip::app

#pragma once
// The steps the instance commands share: an instance's mods installed behind the status window,
// a backup before an update, a game-folder copy, a new record in the lists.
#include <string>

#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip::app {

void InstallModsBehindStatus(AppState& state, Ui& ui, const Instance& record, int overwrite);
// MineCraftBackup of the record behind the status window; its result, not yet shown.
int BackupBehindStatus(AppState& state, Ui& ui, const Instance& record);
// Copies a game folder tree behind the status window that the caller opened; 0 with the
// last-error text naming `operation` when the copy fails.
int CopyGameFolder(Ui& ui, const std::string& operation, const std::string& from,
                   const std::string& to);
// Appends a record holding a copy of the edit copy to the instances and to the end of the list.
Instance& AddInstance(AppState& state, Ui& ui);
// Whether the two records differ in what an update or an installation must follow.
bool NeedsRebuild(const Instance& before, const Instance& after);

}  // namespace oxlip::app

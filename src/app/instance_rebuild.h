#pragma once
// The steps the instance commands share: an instance's mods installed behind the status window,
// a backup before an update, a game-folder copy, a new record in the lists.
#include <string>

#include "app/app_state.h"
#include "app/behind_status.h"
#include "app/ui.h"

namespace oxlip::app {

// installmod behind the status window, which offers Cancel; a failure is shown.
void InstallModsBehindStatus(AppState& state, Ui& ui, const Instance& record, int overwrite);
// 1, or 0 with "<operation>: the game is running; close it first" as the last-error text when
// the game started last runs in the record's instance: a backup then meets files that are
// still being written.
int RefuseWhileGameRuns(AppState& state, const Instance& record, const std::string& operation);
// MineCraftBackup of the record behind the status window, which offers Cancel; refused while
// the instance's game runs. 1 when it was made; a failure is shown, a cancel is not.
int BackupBehindStatus(AppState& state, Ui& ui, const Instance& record);
// Copies a game folder tree, linked folders' content too, behind the status window that the
// caller opened, which offers Cancel; on failure the last-error text names `operation`. What it
// left out (broken links, loops, FIFOs, ...) it shows. The caller removes a target it made.
WorkEnd CopyGameFolder(Ui& ui, const std::string& operation, const std::string& from,
                       const std::string& to);
// Appends a record holding a copy of the edit copy to the instances and to the end of the list.
Instance& AddInstance(AppState& state, Ui& ui);
// Whether the two records differ in what an update or an installation must follow.
bool NeedsRebuild(const Instance& before, const Instance& after);

}  // namespace oxlip::app

#pragma once
// Start-up steps that belong to commands built elsewhere: the check for the current release
// and the update of the instances that follow a channel.
#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip {

void CheckCurrentVersion(AppState& state, Ui& ui);
void UpdateInstancesAtStart(AppState& state, Ui& ui);

// Looks at the running game between window events.
void WatchGameWindow(AppState& state);

}  // namespace oxlip

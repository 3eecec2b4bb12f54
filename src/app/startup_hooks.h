#pragma once
// Start-up steps that belong to commands built elsewhere: the check for the current release
// and the watch over the running game.
#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip {
namespace app {

void CheckCurrentVersion(AppState& state, Ui& ui);

}  // namespace app

// Looks at the running game between window events.
void WatchGameWindow(app::AppState& state);

}  // namespace oxlip

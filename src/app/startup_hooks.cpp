#include "app/startup_hooks.h"

#include "app/startup_update.h"
#include "app/version_check.h"
#include "launch/game_watch.h"

namespace oxlip {

void CheckCurrentVersion(AppState& state, Ui& ui) {
  app::FindReleaseDates(state, ui);
  app::AddCurrentVersion(state, ui);
}

void UpdateInstancesAtStart(AppState& state, Ui& ui) { app::UpdateInstancesAtStart(state, ui); }

void WatchGameWindow(AppState& state) { WatchGameWindow(state.settings, state.game); }

}  // namespace oxlip

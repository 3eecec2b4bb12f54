#include "app/startup_hooks.h"

#include "app/version_check.h"

namespace oxlip {

void CheckCurrentVersion(AppState& state, Ui& ui) {
  app::FindReleaseDates(state, ui);
  app::AddCurrentVersion(state, ui);
}

void UpdateInstancesAtStart(AppState&, Ui&) {}

// No game is ever started yet, so there is nothing to watch.
void WatchGameWindow(AppState&) {}

}  // namespace oxlip

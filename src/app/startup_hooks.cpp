#include "app/startup_hooks.h"

#include "app/version_check.h"
#include "launch/game_watch.h"

namespace oxlip {

void app::CheckCurrentVersion(app::AppState& state, app::Ui& ui) {
  FindReleaseDates(state, ui);
  AddCurrentVersion(state, ui);
}

void WatchGameWindow(app::AppState& state) { WatchGameWindow(state.settings, state.game); }

}  // namespace oxlip

#include "app/startup_hooks.h"

#include "launch/start_minecraft.h"

namespace oxlip {

// Until the download commands exist there is no release to look for and nothing to update.
void CheckCurrentVersion(AppState&, Ui&) {}
void UpdateInstancesAtStart(AppState&, Ui&) {}

void WatchGameWindow(AppState& state) { WatchGameWindow(state.settings, state.game); }

}  // namespace oxlip

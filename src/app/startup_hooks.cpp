#include "app/startup_hooks.h"

namespace oxlip {

// Until the download commands exist there is no release to look for and nothing to update.
void CheckCurrentVersion(AppState&, Ui&) {}
void UpdateInstancesAtStart(AppState&, Ui&) {}

// No game is ever started yet, so there is nothing to watch.
void WatchGameWindow(AppState&) {}

}  // namespace oxlip

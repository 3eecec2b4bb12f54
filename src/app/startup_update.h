#pragma once
// The start-up update of the instances that follow the release or the beta channel.
#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip::app {

// Brings every channel instance whose build date differs from its channel's newest up to date
// (with a backup first where asked), writes the release date into the version file of every
// pinned instance, and shows one box listing what was updated and what failed.
void UpdateInstancesAtStart(AppState& state, Ui& ui);

}  // namespace oxlip::app

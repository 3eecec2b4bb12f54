#pragma once
// The start-up look at the download servers: the current release and the newest beta, and the
// current release added to the version store when it is new.
#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip::app {

// Finds the two dates (0 when a listing fails; nothing is shown then, only the version list's
// empty area tells) behind the status window.
void FindReleaseDates(AppState& state, Ui& ui);

// Downloads the current release into the store when `LatestVersion` differs from its date or
// `LatestVersionNr` is empty; the next scan of the store takes it up.
void AddCurrentVersion(AppState& state, Ui& ui);

}  // namespace oxlip::app

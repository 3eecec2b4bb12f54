#pragma once
// Bakes the active Magic Launcher profile of an instance (its jar and active mods) into the
// instance's own game jar.
#include "app/ui.h"
#include "base/settings.h"
#include "instances/instance.h"

namespace oxlip {

// The work runs behind the status window; the outcome is shown afterwards in a box titled
// "Oxlip". Needs InstancesDir and StartFolder of `settings`.
void stampit(app::Ui& ui, const Instance& instance, const base::GlobalSettings& settings);

}  // namespace oxlip

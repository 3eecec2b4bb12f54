#pragma once
// "New mod": a blank workspace shown in the mod dialog and packed into the library.
#include <string>

#include "app/ui.h"
#include "base/settings.h"
#include "mods/mod_library.h"
#include "versions/version_entry.h"

namespace oxlip {

// The new mod's Dir, or "" when cancelled. The workspace is gone afterwards.
std::string NewMod(const base::GlobalSettings& settings, const versions::VersionList& versions,
                   app::Ui& ui);

namespace app {

// Shows the workspace in the mod dialog for `record`; when confirmed, packs it behind the
// status window and shows a packing failure. True when a mod was made.
bool ConfirmAndPack(const base::GlobalSettings& settings, const versions::VersionList& versions,
                    app::Ui& ui, ModRecord& record);

}  // namespace app

}  // namespace oxlip

#pragma once
// "Import mod": an archive unpacked, sorted, checked in the mod dialog and packed.
#include <string>

#include "app/ui.h"
#include "base/settings.h"
#include "versions/version_entry.h"

namespace oxlip {

// Makes a mod of a zip or 7z archive: unpacked and sorted into the workspace behind the
// status window, checked in the mod dialog, then packed. The new mod's Dir, or "" when none
// was made. Another extension is ignored silently; an archive that cannot be unpacked, or
// would unpack to too much, is reported. Neither staging folder nor workspace is left behind.
std::string ImportMod(const base::GlobalSettings& settings, const versions::VersionList& versions,
                      app::Ui& ui, const std::string& archive);

}  // namespace oxlip

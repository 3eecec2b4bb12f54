#pragma once
// Packing the mod workspace into a new mod of the library.
#include "base/progress.h"
#include "base/settings.h"
#include "mods/mod_library.h"

namespace oxlip {

// Packs the workspace into a new folder of ModDir ("minecraftjar.7z" and "root.7z", each only
// when its part holds a file), sets `Dir` and writes "mod.ini". 1 when both packings
// succeeded or were skipped; 0 with the last-error text set otherwise. Cancelled through
// `progress`, it stops at the next file and leaves no mod folder (`Dir` stays empty).
int CreateMod(const base::GlobalSettings& settings, ModRecord& record,
              base::ProgressSink* progress = nullptr);

}  // namespace oxlip

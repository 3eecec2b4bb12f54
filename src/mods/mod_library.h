#pragma once
// The mod library: one sub-folder of ModDir per mod, described by its "mod.ini".
#include <string>
#include <vector>

#include "base/settings.h"
#include "versions/version_entry.h"

namespace oxlip {

struct ModRecord {
  std::string Dir;  // folder name with "\" at the end, relative to ModDir
  std::string Version;
  std::string Name;
  std::string SortKey;
};

using ModList = std::vector<ModRecord>;

// "all" first, then the mods of stored versions (newest jar first), then the rest; by name
// within each group, byte-wise.
void ScanMods(const base::GlobalSettings& settings, const versions::VersionList& versions,
              ModList& mods);

// Rewrites ModDir + Dir + "mod.ini" with exactly "Name" and "Version".
void WriteModIni(const base::GlobalSettings& settings, const ModRecord& mod);

}  // namespace oxlip

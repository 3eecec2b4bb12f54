#pragma once
// The version store: the stored game jars in VersionsDir, indexed by "ver.ini".
#include <string>

#include "base/settings.h"
#include "versions/version_entry.h"

namespace oxlip {

// Rebuilds the list from the folder and "ver.ini" (unpacking only jars it does not know, then
// rewriting the index), newest first. Returns 1.
int ScanVersions(const base::GlobalSettings& settings, versions::VersionList& versions);

// Writes an instance's version file: 00 0D, then the date in milliseconds as decimal text.
int SaveVersion(const std::string& path, platform::DateValue date);

}  // namespace oxlip

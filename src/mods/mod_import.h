#pragma once
// The steps of making a mod of a zip or 7z archive: which archives are taken, the name a mod
// gets from its archive, and the unpacking into the workspace within its limit.
#include <string>

#include "base/progress.h"
#include "base/settings.h"

namespace oxlip::mods {

// Only "zip" and "7z", in any letter case, as the archive's last extension.
bool IsModArchive(const std::string& archive);

// CacheDir + "unzipped\", where an archive is unpacked before it is sorted.
std::string ImportStagingFolder(const base::GlobalSettings& settings);

// Unpacks the archive into the staging folder and sorts it into the workspace (both are
// emptied first). False with `error` saying why when it cannot be unpacked or would unpack
// to more than the limit, or when `progress` was cancelled (the caller clears the folders).
// Callable from a worker thread.
bool UnpackModArchive(const base::GlobalSettings& settings, const std::string& archive,
                      std::string* error, base::ProgressSink& progress);

// Deletes the staging folder and the workspace with all they hold.
void ClearImportFolders(const base::GlobalSettings& settings);

// The proposed name: the file name without its folder and its last extension.
std::string ImportedModName(const std::string& archive);

}  // namespace oxlip::mods

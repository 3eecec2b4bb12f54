#pragma once
// Writing a record into its instance folder.
#include <string>

#include "base/settings.h"
#include "instances/instance.h"

namespace oxlip {

// Rewrites "settings.ini" in the fixed key order and "mods.ini", and applies IconFile. An
// empty folder name means the record's Folder. Failures are silent; the folder must exist.
void SaveInstance(const Instance& record, const std::string& folder,
                  const base::GlobalSettings& settings);

}  // namespace oxlip

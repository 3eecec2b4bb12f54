#pragma once
// Where the backups of an instance go.
#include <string>

#include "base/settings.h"
#include "instances/instance.h"

namespace oxlip::backup {

// InstancesDir + Folder, without a separator at the end; a relative InstancesDir is taken
// from the start folder, so the path still holds in a command line whose relative names the
// archiver takes below another folder.
std::string InstanceFolder(const base::GlobalSettings& settings, const Instance& record);

// A command line quotes paths with '"'; a path holding one cannot be quoted.
bool Quotable(const std::string& path);

}  // namespace oxlip::backup

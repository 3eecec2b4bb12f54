#pragma once
// Reading an instance folder into a record.
#include <string>

#include "app/settings.h"
#include "instances/instance.h"
#include "instances/instance_icon.h"
#include "versions/version_entry.h"

namespace oxlip {

// What loading needs from the rest of the program; all of it outlives the call, the default
// icon outlives every record.
struct InstanceContext {
  const GlobalSettings& settings;  // InstancesDir
  const VersionList& versions;     // newest first; the legacy "pinned" layout takes the first
  const DefaultIcon& default_icon;
  std::string java_path;  // FindJava's result, the default of JavaPath
};

// The defaults of a new instance; with a folder name, then what that folder holds. Missing
// or damaged files leave defaults and report nothing.
void LoadInstance(Instance& record, const std::string& folder, const InstanceContext& context);

}  // namespace oxlip

#pragma once
// Reading an instance folder into a record.
#include <string>

#include "base/settings.h"
#include "instances/instance.h"
#include "instances/instance_icon.h"

namespace oxlip {
namespace instances {

// What loading needs from the rest of the program; all of it outlives the call, the default
// icon outlives every record.
struct InstanceContext {
  const base::GlobalSettings& settings;  // InstancesDir
  // The newest jar of the version store ("" when empty): what the legacy "pinned" layout takes.
  std::string newest_stored_jar;
  const DefaultIcon& default_icon;
  std::string java_path;  // FindJava's result, the default of JavaPath
};

// LoadInstance without the icon: the record shows the default until its own is loaded.
void LoadInstanceSettings(Instance& record, const std::string& folder,
                          const InstanceContext& context);

// The path of an instance folder, ending with a separator.
std::string InstanceFolderPath(const base::GlobalSettings& settings, const std::string& folder);

}  // namespace instances

// The defaults of a new instance; with a folder name, then what that folder holds. Missing
// or damaged files leave defaults and report nothing.
void LoadInstance(Instance& record, const std::string& folder,
                  const instances::InstanceContext& context);

}  // namespace oxlip

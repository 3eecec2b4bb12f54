#pragma once
// An instances folder in a fresh start folder, with a real default icon and version list.
#include <string>

#include "base/settings.h"
#include "instances/instance.h"
#include "instances/load_instance.h"
#include "instances/save_instance.h"
#include "support/temp_folder.h"
#include "versions/version_entry.h"

namespace oxlip::test {

class InstanceTest : public InTempFolder {
 protected:
  InstanceTest() {
    settings_.InstancesDir = dir() + "Instances/";
    settings_.DefaultIconFile = dir() + "Icons/Default.png";
  }

  // The instance folder in the program's own form, "\" included.
  std::string FolderPath(const std::string& name) const {
    return settings_.InstancesDir + name + "\\";
  }
  void WriteInstanceFile(const std::string& name, const std::string& file,
                         const std::string& bytes) {
    WriteFile(settings_.InstancesDir + name + "/" + file, bytes);
  }
  std::string ReadInstanceFile(const std::string& name, const std::string& file) const {
    return ReadFile(settings_.InstancesDir + name + "/" + file);
  }

  Instance Load(const std::string& folder) {
    Instance record;
    LoadInstance(record, folder, {settings_, newest_jar_, default_icon_, kFoundJava});
    return record;
  }
  void Save(const Instance& record) { SaveInstance(record, "", settings_); }

  static constexpr const char* kFoundJava = "/opt/found-java/bin/";
  base::GlobalSettings settings_;
  std::string newest_jar_;  // the version store's newest jar
  instances::DefaultIcon default_icon_{image::Image{1, 1, {1, 2, 3, 4}}};
};

}  // namespace oxlip::test

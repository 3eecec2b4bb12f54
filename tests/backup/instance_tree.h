#pragma once
// An instance with a game folder and two worlds (and an empty one) for the backup tests.
#include <filesystem>
#include <string>

#include "base/settings.h"
#include "instances/instance.h"
#include "platform/dates.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {

class InstanceTree : public InTempFolder {
 protected:
  InstanceTree() {
    settings_.StartFolder = dir();
    settings_.InstancesDir = dir() + "Instances/";
    record_.Name = "My World";
    record_.Folder = "inst";
    WriteFile(Instance("settings.ini"), "Name = My World\r\n");
    WriteFile(Instance("mods.ini"), "Old mod\r\n");
    Write(".minecraft/bin/minecraft.jar", "jar", 1200000000);
    Write(".minecraft/options.txt", "music:0.5\n", 1200000100);
    Write(World("level.dat"), "one");
    Write(World("region/r.0.0.mcr"), std::string(5000, 'a'));
    Write(".minecraft/saves/World2/level.dat", "two", 1300000300);
    std::filesystem::create_directories(Instance(".minecraft/saves/Empty"));
  }

  std::string Instance(const std::string& path = "") const {
    return settings_.InstancesDir + "inst/" + path;
  }
  static std::string World(const std::string& file, const std::string& world = "World1") {
    return ".minecraft/saves/" + world + "/" + file;
  }
  void Write(const std::string& path, const std::string& data,
             platform::DateValue date = 1300000000) {
    WriteFile(Instance(path), data);
    platform::SetFileDate(Instance(path), date);
  }

  GlobalSettings settings_;
  oxlip::Instance record_;
};

}  // namespace oxlip::test

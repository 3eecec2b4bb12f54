// Loads a generated data folder the way start-up does: ScanVersions, ScanMods and 200
// instances; first cold (no ver.ini, every jar unpacked), then warm. Prints both times.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/seven_zip.h"
#include "instances/load_instance.h"
#include "mods/mod_library.h"
#include "platform/fs.h"
#include "versions/store_jar_name.h"
#include "versions/version_store.h"

namespace {

using oxlip::platform::CreateFolder;

void Write(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

void MakeData(const std::string& root, oxlip::base::GlobalSettings& s) {
  s.VersionsDir = root + "mcversions/";
  s.CacheDir = root + "Cache/";
  s.ModDir = root + "mods/";
  s.InstancesDir = root + "Instances/";
  for (const std::string* d : {&s.VersionsDir, &s.CacheDir, &s.ModDir, &s.InstancesDir})
    CreateFolder(*d);
  for (int v = 0; v < 20; ++v) {
    std::string version = "1." + std::to_string(v);
    std::string constant = "Minecraft Minecraft " + version;
    Write(root + "src/net/minecraft/client/Minecraft.class",
          std::string("\xCA\xFE\xBA\xBE\x01\x00", 6) + char(constant.size()) + constant +
              std::string(20000, 'x'));
    oxlip::SevenZip(
        nullptr, "a -tzip \"" + s.VersionsDir + oxlip::versions::StoreJarName(version) + "\" * -r",
        nullptr, 0, root + "src");
  }
  for (int m = 0; m < 100; ++m)
    Write(s.ModDir + "mod" + std::to_string(m) + "/mod.ini",
          "Name = Mod " + std::to_string(m) + "\r\nVersion = 1." + std::to_string(m % 20) + "\r\n");
  for (int i = 0; i < 200; ++i) {
    std::string folder = s.InstancesDir + "inst" + std::to_string(i) + "/";
    Write(folder + "settings.ini", "Name = Instance " + std::to_string(i) +
                                       "\r\nMineCraftFile = \\\\release\r\nMaxMemory = 2048\r\n");
    Write(folder + "mods.ini", "mod1\\\r\nmod2\\\r\n");
    Write(folder + ".minecraft/bin/version", std::string("\x00\x0D", 2) + "1358964000000");
  }
}

double LoadAll(const oxlip::base::GlobalSettings& s) {
  auto start = std::chrono::steady_clock::now();
  oxlip::versions::VersionList versions;
  oxlip::ModList mods;
  oxlip::ScanVersions(s, versions);
  oxlip::ScanMods(s, versions, mods);
  oxlip::instances::DefaultIcon icon;
  oxlip::instances::InstanceContext context{s, versions.empty() ? "" : versions.front().File, icon,
                                            ""};
  std::vector<oxlip::Instance> instances(200);
  for (int i = 0; i < 200; ++i)
    oxlip::LoadInstance(instances[i], "inst" + std::to_string(i), context);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  std::string root = (std::filesystem::temp_directory_path() / "oxlip-bench-stores/").string();
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  oxlip::base::GlobalSettings s;
  MakeData(root, s);
  double cold = LoadAll(s);
  double warm = LoadAll(s);
  std::printf("20 jars, 100 mods, 200 instances: cold %.1f ms, warm %.1f ms\n", cold, warm);
  std::filesystem::remove_all(root);
  return 0;
}

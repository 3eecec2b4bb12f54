#include "mods/mod_library.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "base/error_text.h"
#include "platform/fs.h"
#include "prefs/pref_file.h"
#include "versions/store_jar_name.h"

namespace oxlip {
namespace {

constexpr const char* kLoadError = "<loaderror>";

// Version name to a ten-digit text that sorts newer jars first.
std::map<std::string, std::string> BuildVersionOrder(const versions::VersionList& versions) {
  std::map<std::string, std::string> order;
  for (const VersionEntry& entry : versions) {
    order[versions::StoredVersionName(entry.File)] =
        std::to_string(std::int64_t{9999999999} - entry.Date);
  }
  order["all"] = "0000000000";
  return order;
}

}  // namespace

void ScanMods(const base::GlobalSettings& settings, const versions::VersionList& versions,
              ModList& mods) {
  std::map<std::string, std::string> order = BuildVersionOrder(versions);
  mods.clear();
  platform::Error unlisted;
  std::vector<platform::DirEntry> entries = platform::ListFolder(settings.ModDir, &unlisted);
  if (unlisted) SetErrorText(base::WithReason("ScanMods: no mods!", unlisted.reason));
  for (const platform::DirEntry& entry : entries) {
    if (!entry.names_folder) continue;
    ModRecord mod;
    mod.Dir = entry.name + "\\";
    OpenPrefFile(settings.ModDir + mod.Dir + "mod.ini");
    mod.Name = ReadPrefString("Name", kLoadError);
    mod.Version = ReadPrefString("Version", kLoadError);
    ClosePrefFile();
    auto rank = order.find(mod.Version);
    mod.SortKey = (rank == order.end() ? "" : rank->second) + "_" + mod.Name;
    mods.push_back(std::move(mod));
  }
  // std::string compares as unsigned bytes, so "B" sorts before "a".
  std::stable_sort(mods.begin(), mods.end(),
                   [](const ModRecord& a, const ModRecord& b) { return a.SortKey < b.SortKey; });
}

void WriteModIni(const base::GlobalSettings& settings, const ModRecord& mod) {
  if (!CreatePrefFile(settings.ModDir + mod.Dir + "mod.ini")) return;
  WritePrefString("Name", mod.Name);
  WritePrefString("Version", mod.Version);
  ClosePrefFile();
}

}  // namespace oxlip

#include "base/settings.h"

#include <variant>
#include <vector>

#include "platform/conventions.h"
#include "platform/env.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "prefs/pref_file.h"

namespace oxlip::base {
namespace {

using TextField = std::string GlobalSettings::*;
using NumberField = int GlobalSettings::*;

struct SettingKey {
  const char* name;
  std::variant<TextField, NumberField> field;
  std::string text_default;
  int number_default = 0;
};

std::string Folder(const std::string& start, const char* name) {
  return start + name + platform::kNativeSeparator;
}

// Every key of the file, in the order it is written. Reading takes the same order: a read
// writes nothing, so the order in which keys are read has no effect.
std::vector<SettingKey> Keys(const std::string& start, const std::string& cache_folder = "") {
  using S = GlobalSettings;
  return {
      {"MCLOGINURL", &S::MCLOGINURL,
       "https://login.oxlip.invalid/?user=%1%&password=%2%&version=%3%"},
      {"MCLOGINVER", &S::MCLOGINVER, "99"},
      {"MCURL", &S::MCURL, "https://download.oxlip.invalid/MinecraftDownload/"},
      {"MCRESURL", &S::MCRESURL, "https://download.oxlip.invalid/MinecraftResources/"},
      {"MCASSETSURL", &S::MCASSETSURL, "https://assets.oxlip.invalid/"},
      {"CacheDir", &S::CacheDir, cache_folder.empty() ? Folder(start, "Cache") : cache_folder},
      {"InstancesDir", &S::InstancesDir, Folder(start, "Instances")},
      {"VersionsDir", &S::VersionsDir, Folder(start, "mcversions")},
      {"ModDir", &S::ModDir, Folder(start, "mods")},
      {"MCWINClass", &S::MCWINClass, std::string(platform::kNativeConventions.game_window_class)},
      {"MCWIName", &S::MCWIName, "Minecraft"},
      {"MCWINameLauncher", &S::MCWINameLauncher, "Minecraft Launcher"},
      {"MCWINameAltLauncher", &S::MCWINameAltLauncher, "Magic Launcher"},
      {"PatchDir", &S::PatchDir, Folder(start, "downgrade")},
      {"WinX", &S::WinX, "", -1},
      {"WinY", &S::WinY, "", -1},
      {"WinW", &S::WinW, "", 640},
      {"WinH", &S::WinH, "", 480},
      {"DefaultIconFile", &S::DefaultIconFile,
       start + "Icons" + platform::kNativeSeparator + "Default.png"},
      {"LatestVersion", &S::LatestVersion, "", 0},
      {"LatestVersionNr", &S::LatestVersionNr, ""},
  };
}

}  // namespace

void LoadGlobalSettings(GlobalSettings& s, const std::string& cache_folder) {
  s.StartFolder = platform::CurrentFolder();
  s.AppData = platform::GetEnvironment(std::string(platform::kNativeConventions.home_variable));

  OpenPrefFile(s.StartFolder + kSettingsFileName);
  for (const SettingKey& key : Keys(s.StartFolder, cache_folder)) {
    if (const TextField* text = std::get_if<TextField>(&key.field))
      s.*(*text) = ReadPrefString(key.name, key.text_default);
    else
      s.*std::get<NumberField>(key.field) = ReadPrefNumber(key.name, key.number_default);
  }
  ClosePrefFile();

  for (const std::string* folder :
       {&s.CacheDir, &s.InstancesDir, &s.VersionsDir, &s.ModDir, &s.PatchDir})
    platform::CreateFolder(*folder);
}

void SaveGlobalSettings(const GlobalSettings& s) {
  if (!CreatePrefFile(s.StartFolder + kSettingsFileName)) return;
  for (const SettingKey& key : Keys(s.StartFolder)) {
    if (const TextField* text = std::get_if<TextField>(&key.field))
      WritePrefString(key.name, s.*(*text));
    else
      WritePrefNumber(key.name, s.*std::get<NumberField>(key.field));
  }
  ClosePrefFile();
}

}  // namespace oxlip::base

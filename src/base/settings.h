#pragma once
// The program-wide settings kept in "Oxlip.ini" in the data folder (the start folder).
#include <string>

#include "platform/dates.h"

namespace oxlip::base {

struct GlobalSettings {
  // Captured at load, before the file is read.
  std::string StartFolder;  // the working folder, with a separator at the end
  std::string AppData;      // the user's application-data folder ("" when unknown)

  std::string MCLOGINURL;
  std::string MCLOGINVER;
  std::string MCURL;
  std::string MCRESURL;
  std::string MCASSETSURL;
  std::string CacheDir;
  std::string InstancesDir;
  std::string VersionsDir;
  std::string ModDir;
  std::string PatchDir;
  std::string MCWINClass;
  std::string MCWIName;
  std::string MCWINameLauncher;
  std::string MCWINameAltLauncher;
  int WinX = -1;
  int WinY = -1;
  int WinW = 640;
  int WinH = 480;
  platform::DateValue LatestVersion = 0;
  std::string LatestVersionNr;
  std::string DefaultIconFile;
};

inline constexpr const char* kSettingsFileName = "Oxlip.ini";

// Captures the start folder and the application-data folder, reads "Oxlip.ini" with every
// default in place, and creates the five data folders (one level each, failures ignored).
// `cache_folder`, when given, is CacheDir's default instead of "Cache" in the start folder.
void LoadGlobalSettings(GlobalSettings& settings, const std::string& cache_folder = "");

// Rewrites StartFolder + "Oxlip.ini" whole in the fixed key order; a failure is not reported.
void SaveGlobalSettings(const GlobalSettings& settings);

}  // namespace oxlip::base

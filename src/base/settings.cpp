#include "base/settings.h"

#include "platform/conventions.h"
#include "platform/env.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "prefs/pref_file.h"

namespace oxlip {
namespace {

std::string Folder(const std::string& start, const char* name) {
  return start + name + platform::kNativeSeparator;
}

}  // namespace

void LoadGlobalSettings(GlobalSettings& s, const std::string& cache_folder) {
  s.StartFolder = platform::CurrentFolder();
  s.AppData = platform::GetEnvironment(std::string(platform::kNativeConventions.home_variable));
  const std::string& start = s.StartFolder;

  OpenPrefFile(kSettingsFileName);
  s.MCLOGINURL = ReadPrefString("MCLOGINURL",
                                "https://login.oxlip.invalid/?user=%1%&password=%2%&version=%3%");
  s.MCLOGINVER = ReadPrefString("MCLOGINVER", "99");
  s.MCURL = ReadPrefString("MCURL", "https://download.oxlip.invalid/MinecraftDownload/");
  s.MCRESURL = ReadPrefString("MCRESURL", "https://download.oxlip.invalid/MinecraftResources/");
  s.MCASSETSURL = ReadPrefString("MCASSETSURL", "https://assets.oxlip.invalid/");
  s.CacheDir =
      ReadPrefString("CacheDir", cache_folder.empty() ? Folder(start, "Cache") : cache_folder);
  s.InstancesDir = ReadPrefString("InstancesDir", Folder(start, "Instances"));
  s.VersionsDir = ReadPrefString("VersionsDir", Folder(start, "mcversions"));
  s.ModDir = ReadPrefString("ModDir", Folder(start, "mods"));
  s.PatchDir = ReadPrefString("PatchDir", Folder(start, "downgrade"));
  s.MCWINClass =
      ReadPrefString("MCWINClass", std::string(platform::kNativeConventions.game_window_class));
  s.MCWIName = ReadPrefString("MCWIName", "Minecraft");
  s.MCWINameLauncher = ReadPrefString("MCWINameLauncher", "Minecraft Launcher");
  s.MCWINameAltLauncher = ReadPrefString("MCWINameAltLauncher", "Magic Launcher");
  s.WinX = ReadPrefNumber("WinX", -1);
  s.WinY = ReadPrefNumber("WinY", -1);
  s.WinW = ReadPrefNumber("WinW", 640);
  s.WinH = ReadPrefNumber("WinH", 480);
  s.LatestVersion = ReadPrefNumber("LatestVersion", 0);
  s.LatestVersionNr = ReadPrefString("LatestVersionNr", "");
  s.DefaultIconFile = ReadPrefString("DefaultIconFile",
                                     start + "Icons" + platform::kNativeSeparator + "Default.png");
  ClosePrefFile();

  for (const std::string* folder :
       {&s.CacheDir, &s.InstancesDir, &s.VersionsDir, &s.ModDir, &s.PatchDir})
    platform::CreateFolder(*folder);
}

void SaveGlobalSettings(const GlobalSettings& s) {
  if (!CreatePrefFile(kSettingsFileName)) return;
  WritePrefString("MCLOGINURL", s.MCLOGINURL);
  WritePrefString("MCLOGINVER", s.MCLOGINVER);
  WritePrefString("MCURL", s.MCURL);
  WritePrefString("MCRESURL", s.MCRESURL);
  WritePrefString("MCASSETSURL", s.MCASSETSURL);
  WritePrefString("CacheDir", s.CacheDir);
  WritePrefString("InstancesDir", s.InstancesDir);
  WritePrefString("VersionsDir", s.VersionsDir);
  WritePrefString("ModDir", s.ModDir);
  WritePrefString("MCWINClass", s.MCWINClass);
  WritePrefString("MCWIName", s.MCWIName);
  WritePrefString("MCWINameLauncher", s.MCWINameLauncher);
  WritePrefString("MCWINameAltLauncher", s.MCWINameAltLauncher);
  WritePrefString("PatchDir", s.PatchDir);
  WritePrefNumber("WinX", s.WinX);
  WritePrefNumber("WinY", s.WinY);
  WritePrefNumber("WinW", s.WinW);
  WritePrefNumber("WinH", s.WinH);
  WritePrefString("DefaultIconFile", s.DefaultIconFile);
  WritePrefNumber("LatestVersion", s.LatestVersion);
  WritePrefString("LatestVersionNr", s.LatestVersionNr);
  ClosePrefFile();
}

}  // namespace oxlip

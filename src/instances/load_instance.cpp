#include "instances/load_instance.h"

#include <algorithm>

#include "base/folder_name.h"
#include "instances/icon_files.h"
#include "instances/mod_list_file.h"
#include "instances/version_file.h"
#include "platform/dates.h"
#include "platform/fs.h"
#include "prefs/pref_file.h"

namespace oxlip {
namespace {

std::string NewInstanceName() {
  std::string date = platform::FormatDate(platform::NowDateValue());
  std::replace(date.begin(), date.end(), '.', '-');
  return "New " + date;
}

// A folder's own name stands for the new name and folder a new record would get: the files
// decide the name, and looking for a free folder costs a file system call per instance.
void SetDefaults(Instance& r, const std::string& folder,
                 const instances::InstanceContext& context) {
  r = Instance{};
  r.Name = folder.empty() ? NewInstanceName() : folder;
  r.Folder = folder.empty() ? MakeFolderName(r.Name, context.settings.InstancesDir) : folder;
  r.Icon = instances::InstanceIcon(context.default_icon);
  r.JavaPath = context.java_path;
}

// Files of an older layout had "Update" (2: pinned to a jar) and "Type" (1: beta) instead.
void ReadChannel(Instance& r, const std::string& newest_stored_jar) {
  int update = ReadPrefNumber("Update", -1);
  if (update < 0) {
    r.MineCraftFile = ReadPrefString("MineCraftFile", r.MineCraftFile);
    return;
  }
  int type = ReadPrefNumber("Type", 0);
  if (update == 2) {
    if (!newest_stored_jar.empty()) r.MineCraftFile = newest_stored_jar;
  } else if (type == 1) {
    r.MineCraftFile = instances::kBetaChannel;
  }
}

void ReadSettings(Instance& r, const std::string& folder, const std::string& newest_stored_jar) {
  OpenPrefFile(folder + "settings.ini");
  ReadChannel(r, newest_stored_jar);
  r.Name = ReadPrefString("Name", r.Folder);
  r.SetMemory = ReadPrefNumber("SetMemory", r.SetMemory);
  r.MinMemory = ReadPrefNumber("MinMemory", r.MinMemory);
  r.MaxMemory = ReadPrefNumber("MaxMemory", r.MaxMemory);
  r.CustomJava = ReadPrefNumber("CustomJava", r.CustomJava);
  if (r.CustomJava != 0) r.JavaPath = ReadPrefString("JavaPath", r.JavaPath);
  r.Maximize = ReadPrefNumber("Maximize", r.Maximize);
  r.UseLauncher = ReadPrefNumber("UseLauncher", r.UseLauncher);
  r.LoginCrypt = ReadPrefString("LoginCrypt", r.LoginCrypt);
  r.AltLauncher = ReadPrefString("AltLauncher", r.AltLauncher);
  r.AutoBackupSaves = ReadPrefNumber("AutoBackupSaves", r.AutoBackupSaves);
  r.BackupBeforUpdate = ReadPrefNumber("BackupBeforUpdate", r.BackupBeforUpdate);
  r.AutoConnect = ReadPrefNumber("AutoConnect", r.AutoConnect);
  r.ConnectIP = ReadPrefString("ConnectIP", r.ConnectIP);
  if (r.MineCraftFile == instances::kBetaChannel) r.BetaVersion = ReadPrefNumber("BetaVersion", 0);
  r.OfflineName = ReadPrefString("OfflineName", r.OfflineName);
  ClosePrefFile();
}

}  // namespace

void instances::LoadInstanceSettings(Instance& record, const std::string& folder,
                                     const instances::InstanceContext& context) {
  SetDefaults(record, folder, context);
  if (folder.empty()) return;
  const std::string base = instances::InstanceFolderPath(context.settings, folder);
  ReadSettings(record, base, context.newest_stored_jar);
  if (auto mods = platform::ReadWholeFile(base + "mods.ini"))
    record.Mods = instances::ParseModListText(*mods);
  if (record.BetaVersion == 0) {
    if (auto version = platform::ReadWholeFile(base + ".minecraft\\bin\\version"))
      record.BetaVersion = instances::ReadVersionFileDate(*version);
  }
}

void LoadInstance(Instance& record, const std::string& folder,
                  const instances::InstanceContext& context) {
  instances::LoadInstanceSettings(record, folder, context);
  if (folder.empty()) return;
  if (auto icon =
          instances::LoadIconFromFolder(instances::InstanceFolderPath(context.settings, folder)))
    record.Icon.SetOwn(std::move(*icon));
}

std::string instances::InstanceFolderPath(const base::GlobalSettings& settings,
                                          const std::string& folder) {
  return settings.InstancesDir + folder + "\\";
}

}  // namespace oxlip

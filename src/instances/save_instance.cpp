#include "instances/save_instance.h"

#include "instances/icon_files.h"
#include "instances/mod_list_file.h"
#include "platform/fs.h"
#include "prefs/pref_file.h"

namespace oxlip {
namespace {

void WriteSettings(const Instance& r, const std::string& path) {
  // The stored credentials decode with the key every build carries: keep them from other
  // users. The rights are taken before the text is written, so it is never readable by them.
  if (!r.LoginCrypt.empty()) platform::RestrictToOwner(path);
  CreatePrefFile(path);
  WritePrefString("Name", r.Name);
  WritePrefString("MineCraftFile", r.MineCraftFile);
  WritePrefNumber("SetMemory", r.SetMemory);
  WritePrefNumber("MinMemory", r.MinMemory);
  WritePrefNumber("MaxMemory", r.MaxMemory);
  WritePrefNumber("CustomJava", r.CustomJava);
  if (r.CustomJava != 0) WritePrefString("JavaPath", r.JavaPath);
  WritePrefNumber("Maximize", r.Maximize);
  WritePrefNumber("UseLauncher", r.UseLauncher);
  WritePrefString("AltLauncher", r.AltLauncher);
  WritePrefString("LoginCrypt", r.LoginCrypt);
  WritePrefNumber("AutoBackupSaves", r.AutoBackupSaves);
  WritePrefNumber("BackupBeforUpdate", r.BackupBeforUpdate);
  WritePrefNumber("AutoConnect", r.AutoConnect);
  WritePrefString("ConnectIP", r.ConnectIP);
  if (r.MineCraftFile == instances::kBetaChannel) WritePrefNumber("BetaVersion", r.BetaVersion);
  // Last and only when set: the files of instances that never play offline stay as they were,
  // and older builds read this one as a key they do not know.
  if (!r.OfflineName.empty()) WritePrefString("OfflineName", r.OfflineName);
  ClosePrefFile();
}

}  // namespace

void SaveInstance(const Instance& record, const std::string& folder,
                  const base::GlobalSettings& settings) {
  const std::string base = settings.InstancesDir + (folder.empty() ? record.Folder : folder) + "\\";
  WriteSettings(record, base + "settings.ini");
  platform::ReplaceFileContents(base + "mods.ini", instances::ModListText(record.Mods));
  instances::ApplyIconFile(base, record.IconFile, settings.DefaultIconFile);
}

}  // namespace oxlip

#pragma once
// One instance: a folder inside InstancesDir with its settings, mod list and icon.
#include <string>
#include <vector>

#include "instances/instance_icon.h"
#include "platform/dates.h"

namespace oxlip {
namespace instances {

inline constexpr const char* kReleaseChannel = "\\\\release";
inline constexpr const char* kBetaChannel = "\\\\beta";

}  // namespace instances

struct Instance {
  std::string Name;
  std::string Folder;  // inside InstancesDir
  instances::InstanceIcon Icon;
  std::string IconFile;  // chosen in the dialog, applied by the next save; never stored
  std::string MineCraftFile =
      instances::kReleaseChannel;  // a channel or a jar of the version store
  int Listed = 0;                  // used while the instance list is ordered; never stored
  int SetMemory = 0;
  int MaxMemory = 1024;
  int MinMemory = 512;
  int CustomJava = 0;
  std::string JavaPath;  // folder of the Java program, ending with a separator
  int Maximize = 0;
  platform::DateValue BetaVersion = 0;  // date value of the installed build; 0 when unknown
  int AutoBackupSaves = 0;
  int BackupBeforUpdate = 0;
  std::string AltLauncher;
  int UseLauncher = 0;  // 0 built-in, 1 the game's launcher, 2 the alternate launcher
  std::string LoginCrypt;
  // A name the built-in start plays offline with, asking nothing and sending no credentials;
  // "" for none.
  std::string OfflineName;
  int AutoConnect = 0;
  std::string ConnectIP;
  std::vector<std::string> Mods;  // mod folders in installation order
};

// Every field, the mods and a duplicate of an own icon image.
void CopyInstance(Instance& target, const Instance& source);

// Frees the record's own icon image; the shared default stays.
void FreeInstanceIcon(Instance& record);

}  // namespace oxlip

#pragma once
// Putting a backup back in place: a world under ".minecraft\saves\<world>", a whole instance's
// game folder as ".minecraft". What it replaces goes to the desktop's trash. May run on a
// worker thread: it reads only what it is given.
#include <string>

#include "backup/backup_list.h"
#include "base/progress.h"

namespace oxlip::backup {

// What a whole-instance restore puts back beside the game folder: the records of the mods
// installed in it, which must describe the restored files, not the replaced ones. The
// instance's settings and icon stay as they are.
inline constexpr const char* kRestoredRecords[] = {"mods.ini", "modinstall.inf"};

// The archive is unpacked into a staging folder in the instance folder first, so a damaged or
// truncated archive changes nothing. Then the current world (or game folder and records) goes
// to the trash and the unpacked one takes its place. False with `error` set (a sentence for
// the person, naming what stayed as it was) when something failed; false with it empty when
// `progress` was cancelled while unpacking, before anything was moved.
bool RestoreBackup(const std::string& instance_folder, const BackupArchive& backup,
                   base::ProgressSink& progress, std::string* error);

}  // namespace oxlip::backup

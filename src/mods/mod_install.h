#pragma once
// Applying an instance's active mods to its game folder and game jar, with the install record
// ("modinstall.inf") that lets a later installation remove exactly what this one put there.
#include <map>
#include <string>

#include "base/progress.h"
#include "base/settings.h"
#include "instances/instance.h"

namespace oxlip {
namespace mods {

// Relative path (as a line of the record) to 1 when it was in the record read at the start,
// 2 once the current installation (re)installed it, 0 when looked up and not recorded.
using PreviousInstall = std::map<std::string, int>;

}  // namespace mods

// Installs the active mods in `mods.ini` order (a later mod's file wins) and removes what the
// old record lists and no mod provides any more. With `overwrite` 0 an installed, non-empty
// file is kept (a person's edit survives); 1 replaces those lying directly in the game folder.
// A file that no record owns is kept in the instance's "modinstall.orig\" before a mod's file
// replaces it, and comes back when no mod provides that file any more.
// 1 on success. 0 with the last-error text set when a mod archive would unpack to too much or
// the record cannot be written (both stop it before anything in the instance changed), or when
// the jar patch failed (the jar is left as it was). 0 without a text when `progress` was
// cancelled while the mods were unpacked, before anything in the instance changed; once their
// files are being installed it runs to its end.
// Callable from a worker thread; uses the staging folders "minecraftjar\" and "root\" of
// CacheDir, so one installation at a time.
int installmod(const base::GlobalSettings& settings, const Instance& instance, int overwrite,
               base::ProgressSink& progress);

// Removes everything the install record lists (folders only once they hold no file), puts back
// the files the installation replaced, and deletes the record.
void UninstallMods(const base::GlobalSettings& settings, const Instance& instance);

// Copies `source` + `relative` into `target` + `relative`, adding a CR LF line to `record` for
// every file and for every folder it created or installed before, and marking each in
// `previous` with 2. `overwrite` applies to files directly at the top only. A file that it
// replaces and `previous` does not own is first copied below `originals` (same relative path);
// when that copy fails, the file is neither replaced nor recorded.
void InstallTree(const std::string& source, const std::string& target, const std::string& relative,
                 mods::PreviousInstall& previous, std::string& record, int overwrite,
                 const std::string& originals);

namespace mods {

// The record InstallTree would write for `source` into `target`, with nothing written.
std::string PlanInstallRecord(const std::string& source, const std::string& target,
                              PreviousInstall previous);

// The record's lines as keys with 1; lines that are absolute or climb out with ".." are left
// out. Empty when the record cannot be read.
PreviousInstall ReadInstallRecord(const std::string& path);

}  // namespace mods

}  // namespace oxlip

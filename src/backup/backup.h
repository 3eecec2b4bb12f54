#pragma once
// Archives of a whole instance and of its changed saved worlds, in the instance's "backup"
// folder. Both may run on a worker thread: they read only what they are given, and their
// progress names what is being archived.
#include "base/progress.h"
#include "base/settings.h"
#include "instances/instance.h"

namespace oxlip {

// "backup\<date> - <folder>.7z" of everything in the instance folder but "backup" and the
// game's log ("game.log", "game.log.1"). 1 on success, 0 with the last-error text set (with the
// archiver's reason when it failed).
int MineCraftBackup(const base::GlobalSettings& settings, const Instance& record,
                    base::ProgressSink* progress = nullptr);

// Each world of ".minecraft\saves" with a file newer than its recorded "LastUpdate" goes to
// "backup\<world>\<date>.7z". A failed world leaves its record alone and the others go on.
// 1 when every changed world was archived, 0 when one failed (the last-error text names the
// last one).
int SaveBackup(const base::GlobalSettings& settings, const Instance& record,
               base::ProgressSink* progress = nullptr);

}  // namespace oxlip

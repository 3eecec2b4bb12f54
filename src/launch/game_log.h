#pragma once
// The game's log: what a started game prints, in "game.log" of its instance folder, with the
// run before kept as "game.log.1".
#include <string>
#include <vector>

#include "base/settings.h"
#include "instances/instance.h"

namespace oxlip::launch {

// The instance's "game.log", as an absolute path.
std::string GameLogFile(const base::GlobalSettings& settings, const Instance& record);
// Where the run before keeps its log.
std::string PreviousGameLog(const std::string& log_file);

// The lines naming an exception ("Exception" anywhere in them) among the last lines of the
// log, oldest first; none when the file is missing.
std::vector<std::string> ExceptionLines(const std::string& log_file);

}  // namespace oxlip::launch

#pragma once
// Starting Java for an instance once the person is logged in, and the record of the game it
// started.
#include "base/settings.h"
#include "instances/instance.h"
#include "launch/java_command.h"
#include "launch/running_game.h"
#include "platform/conventions.h"

namespace oxlip::launch {

// Starts Java with the start mode's command line and records the game in `game`; its output
// goes to "game.log" in the instance folder, the run before kept beside it. The game
// process's id, or 0 when Java could not be started.
int StartGame(const base::GlobalSettings& settings, const Instance& record, const GameLogin& login,
              RunningGame& game, const platform::Conventions& conventions);

}  // namespace oxlip::launch

#pragma once
// Starting the game for an instance, and the watch over it between window events.
#include "base/settings.h"
#include "base/ui.h"
#include "instances/instance.h"
#include "launch/running_game.h"
#include "platform/conventions.h"

namespace oxlip {

struct GameStart {
  const GlobalSettings& settings;
  Ui& ui;
  launch::RunningGame& game;
  const platform::Conventions& conventions = platform::kNativeConventions;
};

// Backs up the saves when asked, logs in for the built-in start, and starts Java with the
// start mode's command line; its output goes to "game.log" in the instance folder. The game
// process's id when it runs, else 0 with the last-error text set.
int StartMinecraft(GameStart& start, Instance& record);

// Forgets the game once it has ended; until its window has been found, looks for it and
// maximises it once when the instance asks for that.
void WatchGameWindow(const GlobalSettings& settings, launch::RunningGame& game);

}  // namespace oxlip

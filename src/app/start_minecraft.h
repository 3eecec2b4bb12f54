#pragma once
// Starting the game for an instance: the backup, the login that may ask the person, then Java.
#include "app/ui.h"
#include "base/settings.h"
#include "instances/instance.h"
#include "launch/running_game.h"
#include "platform/conventions.h"

namespace oxlip {
namespace app {

struct GameStart {
  const base::GlobalSettings& settings;
  Ui& ui;
  launch::RunningGame& game;
  const platform::Conventions& conventions = platform::kNativeConventions;
};

}  // namespace app

// Backs up the saves when asked, logs in for the built-in start, and starts Java with the
// start mode's command line; its output goes to "game.log" in the instance folder. The game
// process's id when it runs, else 0 with the last-error text set.
int StartMinecraft(app::GameStart& start, Instance& record);

}  // namespace oxlip

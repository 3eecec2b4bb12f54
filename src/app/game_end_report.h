#pragma once
// What the program says when the game it started ended badly.
#include <string>

#include "app/app_state.h"
#include "app/ui.h"
#include "launch/running_game.h"

namespace oxlip::app {

// The title of an instance's log window.
std::string GameLogTitle(const std::string& instance_name);

// The message for a game that ended with a status other than 0, by a signal, or with
// exception lines in its last output; "" for one that ended well or was asked to end.
std::string GameEndText(const launch::GameEnd& end);

// Once the game watch has seen the game end: a bad end is said in a box that offers the log.
// The end is reported once.
void ReportGameEnd(AppState& state, Ui& ui);

}  // namespace oxlip::app

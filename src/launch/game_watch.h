#pragma once
// The watch over the running game between window events: its window found and maximised once,
// the game forgotten once it has ended.
#include <string>

#include "base/settings.h"
#include "launch/running_game.h"

namespace oxlip {

// Forgets the game once it has ended; until its window has been found, looks for it and
// maximises it once when the instance asks for that.
void WatchGameWindow(const base::GlobalSettings& settings, launch::RunningGame& game);

}  // namespace oxlip

namespace oxlip::launch {

// The class a window must have: MCWINClass, but none for "SunAwtFrame", the Windows name of
// every Java frame, which no X11 window carries.
std::string ComparedWindowClass(const std::string& configured);

}  // namespace oxlip::launch

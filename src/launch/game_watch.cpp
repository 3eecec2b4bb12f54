#include "launch/game_watch.h"

#include <chrono>
#include <thread>

#include "launch/start_minecraft.h"

namespace oxlip::launch {

std::string ComparedWindowClass(const std::string& configured) {
  return configured == "SunAwtFrame" ? "" : configured;
}

}  // namespace oxlip::launch

namespace oxlip {

void WatchGameWindow(const GlobalSettings& settings, launch::RunningGame& game) {
  if (!game.process) return;
  if (game.process->HasEnded()) {
    game = launch::RunningGame();
    return;
  }
  if (!game.window_pending) return;
  if (game.display && !game.display->Usable()) game.display.reset();
  if (!game.display) game.display = platform::DisplayConnection::Connect();
  if (!game.display) return;  // no display: nothing to find
  platform::WindowQuery query{settings.MCWIName, launch::ComparedWindowClass(settings.MCWINClass),
                              game.process->id()};
  std::optional<platform::WindowId> window = game.display->FindWindow(query);
  if (!window) return;
  // 2 would move the window to the middle of the work area with no size; it acts as 0.
  if (game.maximize == 1) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    game.display->Maximize(*window);
  }
  game.window_pending = false;
  game.display.reset();
}

}  // namespace oxlip

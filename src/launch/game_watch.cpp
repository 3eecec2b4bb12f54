#include "launch/game_watch.h"

#include <chrono>

namespace oxlip::launch {

std::string ComparedWindowClass(const std::string& configured) {
  return configured == "SunAwtFrame" ? "" : configured;
}

}  // namespace oxlip::launch

namespace oxlip {
namespace {

// The window has kept its frame and size for this long: the game and the window manager are
// done with it. Java sets its frame's size again after the frame is shown (once it learns the
// frame's borders), later still on a busy machine; a maximising before that is undone.
constexpr std::chrono::milliseconds kSettleTime(1000);
// How long a request may take to show, and how many are sent before the watch gives up.
constexpr std::chrono::milliseconds kConfirmTime(1000);
constexpr int kMaxRequests = 5;

// True once the window has held still for the settle time; every pass before that notes how
// it looks.
bool Settled(launch::RunningGame& game, platform::WindowId window) {
  std::optional<platform::WindowGeometry> geometry = game.display->Geometry(window);
  auto now = std::chrono::steady_clock::now();
  bool same = geometry && window == game.seen_window && *geometry == game.seen_geometry &&
              game.display->Framed(window);
  if (!same) {
    game.seen_window = window;
    game.seen_geometry = geometry.value_or(platform::WindowGeometry{});
    game.seen_since = now;
    return false;
  }
  return now - game.seen_since >= kSettleTime;
}

// True once the window is handled: shown maximised, or asked often enough. Until then it asks
// (again) whenever the window has settled and the last request had its time.
bool MaximizeOnce(launch::RunningGame& game, platform::WindowId window) {
  auto now = std::chrono::steady_clock::now();
  if (game.maximize_requests > 0) {
    if (game.display->IsMaximized(window) || game.maximize_requests >= kMaxRequests) return true;
    if (now - game.requested_at < kConfirmTime) return false;
  }
  if (!Settled(game, window)) return false;
  game.display->Maximize(window);
  ++game.maximize_requests;
  game.requested_at = now;
  return false;
}

}  // namespace

void WatchGameWindow(const base::GlobalSettings& settings, launch::RunningGame& game) {
  if (!game.process) return;
  if (game.process->HasEnded()) {
    launch::GameEnd end{game.process->exit_code(), game.process->end_signal(),
                        game.process->EndedOnRequest(), game.name, game.log_file};
    game = launch::RunningGame();
    game.ended = std::move(end);
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
  // Instead of blocking the event loop for a while, later passes look again.
  if (game.maximize == 1 && !MaximizeOnce(game, *window)) return;
  game.window_pending = false;
  game.display.reset();
}

}  // namespace oxlip

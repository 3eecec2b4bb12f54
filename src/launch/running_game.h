#pragma once
// The game started last, kept by the program between event-loop passes.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/process.h"
#include "platform/window_watch.h"

namespace oxlip::launch {

// How the game started last ended, kept until the program has told the person.
struct GameEnd {
  std::optional<int> exit_code;  // none when a signal ended it, or its end was not seen
  int signal = 0;
  bool on_request = false;  // it was asked to end: no fault of its own
  std::string name;         // the instance's Name at the start
  std::string log_file;     // where its output went
};

struct RunningGame {
  std::optional<platform::Process> process;  // none when no game runs
  std::string folder;                        // the running instance's Folder
  std::string name;                          // and its Name, for what is said about its end
  std::string log_file;                      // where its output goes
  bool window_pending = false;               // its window has not been found yet
  // The running instance's Maximize, taken at the start: the record may be deleted while the
  // game runs.
  int maximize = 0;
  // Open while the window is searched for.
  std::unique_ptr<platform::DisplayConnection> display;
  // The game's window as last seen before it is maximised, and since when it looked so: a
  // window that is still being framed or sized by the game would undo the maximising.
  platform::WindowId seen_window = 0;
  platform::WindowGeometry seen_geometry;
  std::chrono::steady_clock::time_point seen_since;
  // Maximise requests sent so far, and when the last one went: one that a busy game or
  // window manager dropped is sent again until the window shows maximised.
  int maximize_requests = 0;
  std::chrono::steady_clock::time_point requested_at;
  // Set by the watch when the game has ended; the program reports it and clears it.
  std::optional<GameEnd> ended;
};

// True while the game started last runs and was started for the instance in `folder` (its
// Folder): that instance's files are in use and still being written.
bool GameRunsIn(RunningGame& game, const std::string& folder);

// True while the game started last runs; one that has ended is forgotten here.
bool GameStillRuns(RunningGame& game);

}  // namespace oxlip::launch

#pragma once
// The program's whole run: start-up, the window and its event loop, the end.
#include <functional>

#include "app/app_state.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"

namespace oxlip::gui {

// What a run is made of, for whoever watches it from inside the event loop.
struct ProgramParts {
  app::AppState& state;
  MainWindow& window;
  QtUi& ui;
};

// Runs the program with its command line in its data folder (made the current folder) and
// returns its exit code. `started`, when given, is called inside the event loop once the lists
// are filled (tests drive the window from there).
int RunProgram(int argc, char** argv, const std::function<void(ProgramParts&)>& started = {});

}  // namespace oxlip::gui

#pragma once
// Closing the main window when the system asks the program to end.
#include <QWidget>

namespace oxlip::gui {

// A termination request (SIGTERM, SIGINT, SIGHUP at logout) closes the window as its close
// box does, so the instance order and the settings are still written.
void CloseOnTerminationSignal(QWidget* window);

}  // namespace oxlip::gui

#include <QApplication>
#include <QTimer>

#include "app/app_state.h"
#include "app/startup.h"
#include "base/error_text.h"
#include "gui/close_on_signal.h"
#include "gui/display.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"

int main(int argc, char** argv) {
  oxlip::AppState state;
  if (!oxlip::StartUp(state)) return 0;

  // Without a display Qt would abort; the program ends as when its window cannot open.
  if (!oxlip::gui::DisplayAvailable()) {
    oxlip::SetErrorText("Can't open Window!");
    return 1;
  }
  QApplication app(argc, argv);
  oxlip::gui::MainWindow window(state);
  oxlip::gui::QtUi ui(&window);
  window.set_ui(&ui);
  window.PlaceFromSettings();
  oxlip::gui::CloseOnTerminationSignal(&window);
  window.show();
  // Inside the event loop, so that a close asked for during the start-up work is kept.
  QTimer::singleShot(0, &window, [&] { oxlip::FillLists(state, ui); });
  int result = app.exec();

  window.StoreGeometry();
  oxlip::ShutDown(state);
  return result;
}

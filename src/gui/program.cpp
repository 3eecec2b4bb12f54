#include "gui/program.h"

#include <QApplication>
#include <QTimer>

#include "app/startup.h"
#include "base/error_text.h"
#include "gui/close_on_signal.h"
#include "gui/display.h"

namespace oxlip::gui {

int RunProgram(int argc, char** argv, const std::function<void(ProgramParts&)>& started) {
  AppState state;
  if (!StartUp(state)) return 0;

  // Without a display Qt would abort; the program ends as when its window cannot open.
  if (!DisplayAvailable()) {
    SetErrorText("Can't open Window!");
    return 1;
  }
  QApplication app(argc, argv);
  MainWindow window(state);
  QtUi ui(&window);
  window.set_ui(&ui);
  window.PlaceFromSettings();
  CloseOnTerminationSignal(&window);
  window.show();
  ProgramParts parts{state, window, ui};
  // Inside the event loop, so that a close asked for during the start-up work is kept.
  QTimer::singleShot(0, &window, [&] {
    window.RunCommand([&] { FillLists(state, ui); });
    if (started) started(parts);
  });
  int result = app.exec();

  window.StoreGeometry();
  ShutDown(state);
  return result;
}

}  // namespace oxlip::gui

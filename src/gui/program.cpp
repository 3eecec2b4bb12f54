#include "gui/program.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTimer>
#include <cstdio>

#include "app/startup.h"
#include "base/data_folder.h"
#include "base/error_text.h"
#include "gui/close_on_signal.h"
#include "gui/display.h"
#include "gui/program_options.h"

namespace oxlip::gui {
namespace {

// The names the desktop knows the program by (its desktop entry and its icon in the theme).
constexpr const char* kDesktopName = "oxlip";

std::string BuiltInDefaultIcon() {
  QFile file(":/icons/default_instance.png");
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// --help, --version and a mistake end here, before any file is read or written.
std::optional<int> AnswerWithoutRunning(const ProgramOptions& options) {
  switch (options.action) {
    case ProgramOptions::Action::kHelp:
    case ProgramOptions::Action::kVersion:
      std::fputs(options.message.c_str(), stdout);
      return 0;
    case ProgramOptions::Action::kError:
      std::fprintf(stderr, "oxlip: %s\nTry 'oxlip --help'.\n", options.message.c_str());
      return 2;
    case ProgramOptions::Action::kRun:
      break;
  }
  return std::nullopt;
}

}  // namespace

int RunProgram(int argc, char** argv, const std::function<void(ProgramParts&)>& started) {
  ProgramOptions options = ParseProgramOptions(argc, argv);
  if (std::optional<int> answered = AnswerWithoutRunning(options)) return *answered;
  std::string error;
  std::optional<base::DataFolder> place = base::ChooseDataFolder(options.data, &error);
  if (!place || !base::EnterDataFolder(*place, &error)) {
    std::fprintf(stderr, "oxlip: %s\n", error.c_str());
    return 1;
  }

  app::AppState state;
  if (!app::StartUp(state, app::StartFiles{place->cache, BuiltInDefaultIcon()})) return 0;

  // Without a display Qt would abort; the program ends as when its window cannot open.
  if (!DisplayAvailable()) {
    SetErrorText("Can't open Window!");
    return 1;
  }
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(kDesktopName);
  QApplication::setWindowIcon(QIcon::fromTheme(kDesktopName));
  MainWindow window(state);
  QtUi ui(&window);
  window.set_ui(&ui);
  window.PlaceFromSettings();
  CloseOnTerminationSignal(&window);
  window.show();
  ProgramParts parts{state, window, ui};
  // Inside the event loop, so that a close asked for during the start-up work is kept.
  QTimer::singleShot(0, &window, [&] {
    window.RunCommand([&] { app::FillLists(state, ui); });
    if (started) started(parts);
  });
  int result = app.exec();

  window.StoreGeometry();
  app::ShutDown(state);
  return result;
}

}  // namespace oxlip::gui

#include <QApplication>

#include "app/app_state.h"
#include "app/settings.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
  oxlip::AppState state;
  oxlip::LoadGlobalSettings(state.settings);

  QApplication app(argc, argv);
  oxlip::gui::MainWindow window(state);
  window.PlaceFromSettings();
  window.show();
  int result = app.exec();

  window.StoreGeometry();
  oxlip::SaveGlobalSettings(state.settings);
  return result;
}

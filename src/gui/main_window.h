#pragma once
#include <QWidget>

#include "app/app_state.h"

namespace oxlip::gui {

inline constexpr const char* kMainWindowTitle = "Oxlip 0.12.7.15";

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& state);

  // Places the window at the stored position and inner size, or centred when either stored
  // coordinate is -1.
  void PlaceFromSettings();
  // The window's real position and inner size, into the settings.
  void StoreGeometry() const;

 private:
  AppState& state_;
};

}  // namespace oxlip::gui

#include "gui/main_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace oxlip::gui {

MainWindow::MainWindow(AppState& state) : state_(state) {
  setWindowTitle(kMainWindowTitle);
}

void MainWindow::PlaceFromSettings() {
  const GlobalSettings& s = state_.settings;
  resize(s.WinW, s.WinH);
  if (s.WinX == -1 || s.WinY == -1) {
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    move(area.center() - QPoint(s.WinW / 2, s.WinH / 2));
  } else {
    move(s.WinX, s.WinY);
  }
}

void MainWindow::StoreGeometry() const {
  GlobalSettings& s = state_.settings;
  s.WinX = pos().x();
  s.WinY = pos().y();
  s.WinW = width();
  s.WinH = height();
}

}  // namespace oxlip::gui

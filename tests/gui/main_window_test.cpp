#include "gui/main_window.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "support/temp_folder.h"

namespace oxlip::gui {
namespace {

class MainWindowTest : public test::InTempFolder {};

TEST_F(MainWindowTest, StoredGeometryIsUsedAndWrittenBack) {
  test::WriteFile(dir() + "Oxlip.ini", "WinX = 30\r\nWinY = 40\r\nWinW = 500\r\nWinH = 300\r\n");
  app::AppState state;
  base::LoadGlobalSettings(state.settings);
  MainWindow window(state);
  window.PlaceFromSettings();
  window.show();
  EXPECT_EQ(window.windowTitle().toStdString(), "Oxlip 0.12.7.15");
  EXPECT_EQ(window.size(), QSize(500, 300));
  EXPECT_EQ(window.pos(), QPoint(30, 40));
  window.move(50, 60);
  window.resize(410, 320);
  window.StoreGeometry();
  base::SaveGlobalSettings(state.settings);
  std::string text = test::ReadFile(dir() + "Oxlip.ini");
  EXPECT_NE(text.find("WinX = 50\r\nWinY = 60\r\nWinW = 410\r\nWinH = 320\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, EitherCoordinateMinusOneCentres) {
  test::WriteFile(dir() + "Oxlip.ini", "WinX = 30\r\nWinY = -1\r\n");
  app::AppState state;
  base::LoadGlobalSettings(state.settings);
  MainWindow window(state);
  window.PlaceFromSettings();
  QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(window.size(), QSize(640, 480));
  EXPECT_EQ(window.geometry().center().x() / 10, area.center().x() / 10);
}

}  // namespace
}  // namespace oxlip::gui

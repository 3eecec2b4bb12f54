#include "gui/status_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <thread>

#include "gui/qt_ui.h"

namespace oxlip::gui {
namespace {

class StatusWindowTest : public ::testing::Test {
 protected:
  StatusWindowTest() : window(state), ui(&window) {
    window.resize(640, 480);
    window.show();
  }
  AppState state;
  MainWindow window;
  QtUi ui;
};

TEST_F(StatusWindowTest, OpenDisablesTheMainWindowUntilClosed) {
  ui.ShowStatusWindow("Search for current minecraft version", "", true);
  StatusWindow* status = ui.status_window();
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(status->windowTitle(), "Oxlip");
  EXPECT_EQ(status->size(), QSize(300, 80));
  EXPECT_EQ(status->first_text()->text(), "Search for current minecraft version");
  EXPECT_TRUE(status->bar()->isHidden());

  ui.ShowStatusWindow("Add current Version to Minecraft Version", "minecraft.jar", false);
  EXPECT_EQ(ui.status_window(), status);  // at most one
  EXPECT_EQ(status->second_text()->text(), "minecraft.jar");
  EXPECT_FALSE(status->bar()->isHidden());
  ui.StatusProgress().SetPercent(42);
  EXPECT_EQ(status->bar()->value(), 42);

  ui.CloseStatusWindow();
  EXPECT_EQ(ui.status_window(), nullptr);
  EXPECT_TRUE(window.isEnabled());
  ui.CloseStatusWindow();
  ui.StatusProgress().SetName("nobody listens");  // closed: dropped, not a crash
  EXPECT_TRUE(window.isEnabled());
}

TEST_F(StatusWindowTest, WorkRunsOffTheGuiThreadBehindADownloadWindow) {
  std::thread::id gui_thread = std::this_thread::get_id();
  std::thread::id worker_thread;
  bool disabled_meanwhile = false;
  QString title_meanwhile;
  int result = ui.RunWithProgress("Download", "Gather information", [&](ProgressSink& progress) {
    worker_thread = std::this_thread::get_id();
    progress.SetName("minecraft.jar");
    progress.SetTime("0:01 ETA:0:09");
    progress.SetPercent(10);
    // Look at the window from the GUI thread, as a person would.
    QMetaObject::invokeMethod(
        &window,
        [&] {
          disabled_meanwhile = !window.isEnabled();
          for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowTitle() == "Download") title_meanwhile = "Download";
        },
        Qt::BlockingQueuedConnection);
    return 7;
  });
  EXPECT_EQ(result, 7);
  EXPECT_NE(worker_thread, gui_thread);
  EXPECT_TRUE(disabled_meanwhile);
  EXPECT_EQ(title_meanwhile, "Download");
  EXPECT_TRUE(window.isEnabled());
}

TEST_F(StatusWindowTest, ClosingWhileWorkRunsWaitsForTheWorkToEnd) {
  bool visible_after_close = false;
  int result = ui.RunWithProgress("Download", "Gather information", [&](ProgressSink&) {
    QMetaObject::invokeMethod(
        &window,
        [&] {
          window.close();  // the close box, or a termination signal
          for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<StatusWindow*>(top)) progress->reject();
          visible_after_close = window.isVisible();
        },
        Qt::BlockingQueuedConnection);
    return 1;
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(visible_after_close);
  QApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(StatusWindowTest, TheStatusWindowOutlastsWorkStartedWhileItIsOpen) {
  ui.ShowStatusWindow("Add current Version to Minecraft Version", "", false);
  ui.RunWithProgress("Download", "", [](ProgressSink&) { return 1; });
  EXPECT_FALSE(window.isEnabled());
  ui.CloseStatusWindow();
  EXPECT_TRUE(window.isEnabled());
}

}  // namespace
}  // namespace oxlip::gui

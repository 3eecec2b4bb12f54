#include "gui/status_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "gui/qt_ui.h"
#include "when_up.h"

namespace oxlip::gui {
namespace {

class StatusWindowTest : public ::testing::Test {
 protected:
  StatusWindowTest() : window(state), ui(&window) {
    window.resize(640, 480);
    window.show();
  }
  app::AppState state;
  MainWindow window;
  QtUi ui;
};

TEST_F(StatusWindowTest, OpenDisablesTheMainWindowUntilClosed) {
  ui.ShowStatusWindow("Search for current minecraft version", "", true);
  StatusWindow* status = ui.status_window();
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(status->windowTitle(), "Oxlip");
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
  int result =
      ui.RunWithProgress("Download", "Gather information", [&](base::ProgressSink& progress) {
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
                if (top->isVisible() && top->windowTitle() == "Download")
                  title_meanwhile = "Download";
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

// Closing during work asks first: "Yes" cancels the work and closes once it has stopped, "No"
// lets it go on and keeps the window.
TEST_F(StatusWindowTest, ClosingWhileWorkRunsAsksWhetherToCancelIt) {
  for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
    SCOPED_TRACE(answer);
    bool visible_after_close = false;
    int result =
        ui.RunWithProgress("Download", "Gather information", [&](base::ProgressSink& progress) {
          QMetaObject::invokeMethod(
              &window,
              [&] {
                test::WhenUp<QMessageBox>([&](QMessageBox* box) { box->button(answer)->click(); });
                window.close();  // the close box, or a termination signal
                visible_after_close = window.isVisible();
              },
              Qt::BlockingQueuedConnection);
          return progress.Cancelled() ? 0 : 1;
        });
    EXPECT_EQ(result, answer == QMessageBox::Yes ? 0 : 1);
    EXPECT_TRUE(visible_after_close);
    QApplication::processEvents();
    EXPECT_EQ(window.isVisible(), answer == QMessageBox::No);
  }
}

// A real click on the window's Cancel reaches the work, in the progress window and in the
// status window while it offers Cancel.
TEST_F(StatusWindowTest, ACancelClickReachesTheWork) {
  auto click_cancel = [&](base::ProgressSink& progress) {
    bool offered = false;
    QMetaObject::invokeMethod(
        &window,
        [&] {
          for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* status = qobject_cast<StatusWindow*>(top);
            if (!status || !status->isVisible()) continue;
            offered = status->cancel_button()->isVisible();
            QTest::mouseClick(status->cancel_button(), Qt::LeftButton);
          }
        },
        Qt::BlockingQueuedConnection);
    return offered && progress.Cancelled() ? 0 : 1;
  };
  EXPECT_EQ(ui.RunWithProgress("Download", "", click_cancel), 0);
  ui.ShowStatusWindow("Clone instance", "A - copy", true);
  EXPECT_EQ(ui.RunCancellableBehindStatus(click_cancel), 0);
  EXPECT_EQ(ui.RunBehindStatus(click_cancel), 1);
  ui.CloseStatusWindow();
}

// A command that shows a box once its work has ended shows it before the close asked for
// during the work.
TEST_F(StatusWindowTest, ACloseDuringWorkWaitsForTheBoxTheCommandShowsAfterIt) {
  bool visible_under_box = false;
  window.RunCommand([&] {
    ui.RunWithProgress("Download", "", [&](base::ProgressSink&) {
      QMetaObject::invokeMethod(
          &window,
          [&] {
            test::WhenUp<QMessageBox>(
                [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
            window.close();
          },
          Qt::BlockingQueuedConnection);
      return 0;
    });
    test::WhenUp<QMessageBox>([&](QMessageBox* box) {
      visible_under_box = window.isVisible();
      box->done(QMessageBox::Ok);
    });
    ui.ShowMessage("Oxlip", "DownloadMinecraft: Can't download minecraft.jar");
  });
  EXPECT_TRUE(visible_under_box);
  QApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
}

// Once Qt has been asked to quit (the desktop session ends, say), every event loop entered
// returns at once; the progress window still shows what the work reports.
TEST_F(StatusWindowTest, TheProgressWindowKeepsDrawingAfterQtIsAskedToQuit) {
  QString shown;
  std::atomic<bool> looked{false};
  ui.RunWithProgress("Download", "", [&](base::ProgressSink& progress) {
    QMetaObject::invokeMethod(
        &window, [] { QCoreApplication::exit(0); }, Qt::BlockingQueuedConnection);
    progress.SetName("minecraft.jar");
    QMetaObject::invokeMethod(
        &window,
        [&] {
          for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* progress_window = qobject_cast<StatusWindow*>(top))
              shown = progress_window->first_text()->text();
          looked = true;
        },
        Qt::QueuedConnection);
    // Bounded only so that a window that stopped handling events fails instead of hanging.
    for (int i = 0; i < 3000 && !looked; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return 1;
  });
  // An event loop run to its end takes back the request to quit, for the tests after this.
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  EXPECT_EQ(shown, "minecraft.jar");
}

TEST_F(StatusWindowTest, TheStatusWindowOutlastsWorkStartedWhileItIsOpen) {
  ui.ShowStatusWindow("Add current Version to Minecraft Version", "", false);
  ui.RunWithProgress("Download", "", [](base::ProgressSink&) { return 1; });
  EXPECT_FALSE(window.isEnabled());
  ui.CloseStatusWindow();
  EXPECT_TRUE(window.isEnabled());
}

}  // namespace
}  // namespace oxlip::gui

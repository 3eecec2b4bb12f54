// The status and progress windows of the Qt Ui: what they hold, the work behind them on a worker,
// closing and cancelling meanwhile, and who owns them and the boxes.
#include "gui/status_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/instance_dialog.h"
#include "gui/instance_dialog.h"
#include "gui_fixture.h"

namespace oxlip::gui {
namespace {

class StatusWindowTest : public test::MainWindowFixture {
 protected:
  void SetUp() override { Open(false); }

  // Runs `look` on the GUI thread, as a person would look, and waits for it.
  void OnGuiThread(const std::function<void()>& look) {
    QMetaObject::invokeMethod(window.get(), look, Qt::BlockingQueuedConnection);
  }
  static StatusWindow* Shown() {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* status = qobject_cast<StatusWindow*>(top); status && status->isVisible())
        return status;
    return nullptr;
  }
  // Answers the next message box, noting whether it could be clicked and who owned it.
  void AnswerBox() {
    test::WhenUp<QMessageBox>([this](QMessageBox* box) {
      box_owner = box->parentWidget();
      box_enabled = box->isEnabled();
      box->done(QMessageBox::Ok);  // works even on a box that takes no clicks
    });
  }

  QWidget* box_owner = nullptr;
  bool box_enabled = false;
};

TEST_F(StatusWindowTest, TheStatusWindowHoldsTheMainWindowUntilClosed) {
  ui->ShowStatusWindow("Search", "", true);
  StatusWindow* status = ui->status_window();
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(window->isEnabled());
  EXPECT_EQ(status->first_text()->text(), "Search");
  EXPECT_TRUE(status->bar()->isHidden());
  ui->ShowStatusWindow("Add", "minecraft.jar", false);
  EXPECT_EQ(ui->status_window(), status);  // at most one
  EXPECT_EQ(status->second_text()->text(), "minecraft.jar");
  EXPECT_FALSE(status->bar()->isHidden());
  ui->StatusProgress().SetPercent(42);
  EXPECT_EQ(status->bar()->value(), 42);
  ui->RunWithProgress("Download", "", [](base::ProgressSink&) { return 1; });
  EXPECT_FALSE(window->isEnabled());  // outlasts the work started while it is open
  AnswerBox();
  ui->ShowMessage("Oxlip", "copy failed");
  EXPECT_TRUE(box_enabled);
  ui->CloseStatusWindow();
  EXPECT_EQ(ui->status_window(), nullptr);
  EXPECT_TRUE(window->isEnabled());
  ui->CloseStatusWindow();
  ui->StatusProgress().SetName("nobody listens");  // closed: dropped, not a crash
  EXPECT_TRUE(window->isEnabled());
}

// The work runs on a worker behind the window, which holds the main window; a real click on its
// Cancel reaches the work, in the status window too while it offers Cancel.
TEST_F(StatusWindowTest, WorkRunsOnAWorkerAndACancelClickReachesIt) {
  std::thread::id worker;
  bool disabled_meanwhile = false;
  QString shown_meanwhile;
  auto click_cancel = [&](base::ProgressSink& progress) {
    worker = std::this_thread::get_id();
    progress.SetName("minecraft.jar");
    bool offered = false;
    OnGuiThread([&] {
      disabled_meanwhile = !window->isEnabled();
      shown_meanwhile = Shown()->first_text()->text();
      offered = Shown()->cancel_button()->isVisible();
      QTest::mouseClick(Shown()->cancel_button(), Qt::LeftButton);
    });
    return offered && progress.Cancelled() ? 0 : 1;
  };
  EXPECT_EQ(ui->RunWithProgress("Download", "", click_cancel), 0);
  EXPECT_NE(worker, std::this_thread::get_id());
  EXPECT_TRUE(disabled_meanwhile);
  EXPECT_EQ(shown_meanwhile, "minecraft.jar");
  EXPECT_TRUE(window->isEnabled());
  ui->ShowStatusWindow("Clone instance", "A - copy", true);
  EXPECT_EQ(ui->RunCancellableBehindStatus(click_cancel), 0);
  EXPECT_EQ(ui->RunBehindStatus(click_cancel), 1);
  ui->CloseStatusWindow();
}

// Closing during work asks first: "Yes" cancels the work, "No" lets it go on and keeps the window.
// A box the command shows once its work has ended comes before the close.
TEST_F(StatusWindowTest, ClosingWhileWorkRunsAsksWhetherToCancelItAndWaitsForTheCommand) {
  for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
    SCOPED_TRACE(answer);
    int result = -1;
    bool visible_after_close = false, visible_under_box = false;
    window->RunCommand([&] {
      result = ui->RunWithProgress("Download", "", [&](base::ProgressSink& progress) {
        OnGuiThread([&] {
          test::WhenUp<QMessageBox>([&](QMessageBox* box) { box->button(answer)->click(); });
          window->close();  // the close box, or a termination signal
          visible_after_close = window->isVisible();
        });
        return progress.Cancelled() ? 0 : 1;
      });
      test::WhenUp<QMessageBox>([&](QMessageBox* box) {
        visible_under_box = window->isVisible();
        box->done(QMessageBox::Ok);
      });
      ui->ShowMessage("Oxlip", "DownloadMinecraft: Can't download minecraft.jar");
    });
    EXPECT_EQ(result, answer == QMessageBox::Yes ? 0 : 1);
    EXPECT_TRUE(visible_after_close);
    EXPECT_TRUE(visible_under_box);
    QApplication::processEvents();
    EXPECT_EQ(window->isVisible(), answer == QMessageBox::No);
  }
}

// Once Qt has been asked to quit (the desktop session ends, say), every event loop entered returns
// at once; the progress window still shows what the work reports.
TEST_F(StatusWindowTest, TheProgressWindowKeepsDrawingAfterQtIsAskedToQuit) {
  QString shown;
  std::atomic<bool> looked{false};
  ui->RunWithProgress("Download", "", [&](base::ProgressSink& progress) {
    OnGuiThread([] { QCoreApplication::exit(0); });
    progress.SetName("minecraft.jar");
    QMetaObject::invokeMethod(
        window.get(),
        [&] {
          shown = Shown()->first_text()->text();
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

// The instance dialog is modal over the main window; boxes, status and progress windows shown
// over it (a mod import from it, say) belong to it. Its Cancel button changes nothing.
TEST_F(StatusWindowTest, WindowsOverTheInstanceDialogBelongToIt) {
  QWidget *shown_dialog = nullptr, *status_owner = nullptr, *progress_owner = nullptr;
  test::WhenUp<InstanceConfigDialog>([&](InstanceConfigDialog* shown) {
    shown_dialog = shown;
    EXPECT_EQ(shown->parentWidget(), window.get());
    EXPECT_EQ(shown->windowModality(), Qt::ApplicationModal);
    AnswerBox();
    ui->ShowMessage("Oxlip", "over the dialog");
    ui->ShowStatusWindow("Import mod", "", true);
    status_owner = ui->status_window()->parentWidget();
    ui->CloseStatusWindow();
    ui->RunWithProgress("Download", "", [&](base::ProgressSink&) {
      OnGuiThread([&] { progress_owner = Shown()->parentWidget(); });
      return 1;
    });
    QTest::keyClicks(shown->title_field(), "Skyworld");
    QTest::mouseClick(shown->cancel_button(), Qt::LeftButton);
  });
  Instance record;
  EXPECT_FALSE(InstanceDialog(state, *ui, record));
  EXPECT_EQ(record.Name, "");
  ASSERT_NE(shown_dialog, nullptr);
  EXPECT_EQ(box_owner, shown_dialog);
  EXPECT_TRUE(box_enabled);
  EXPECT_EQ(status_owner, shown_dialog);
  EXPECT_EQ(progress_owner, shown_dialog);
}

}  // namespace
}  // namespace oxlip::gui

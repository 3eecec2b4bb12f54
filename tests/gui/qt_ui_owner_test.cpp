// Boxes of the Ui port can always be answered: over an open dialog they belong to it, and
// while long work holds the main window disabled they are not disabled with it.
#include <gtest/gtest.h>

#include <QMessageBox>

#include "app/instance_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "instance_dialog_fixture.h"

namespace oxlip::gui {
namespace {

class QtUiOwnerTest : public test::InstanceDialogFixture {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(state);
    ui = std::make_unique<QtUi>(window.get());
    window->set_ui(ui.get());
    window->show();
  }

  // Answers the next message box, noting who owned it and whether it could be clicked.
  void AnswerBox() {
    WhenModal<QMessageBox>([this](QMessageBox* box) {
      box_owner = box->parentWidget();
      box_enabled = box->isEnabled();
      box->done(QMessageBox::Ok);  // works even on a box that takes no clicks
    });
  }

  app::AppState state;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtUi> ui;
  QWidget* box_owner = nullptr;
  bool box_enabled = false;
};

TEST_F(QtUiOwnerTest, BoxOverTheInstanceDialogBelongsToIt) {
  QWidget* shown_dialog = nullptr;
  WhenModal<InstanceConfigDialog>([&](InstanceConfigDialog* shown) {
    shown_dialog = shown;
    AnswerBox();
    ui->ShowMessage("Oxlip", "over the dialog");
    shown->reject();
  });
  EXPECT_FALSE(InstanceDialog(state, *ui, record));
  EXPECT_EQ(box_owner, shown_dialog);
  EXPECT_TRUE(box_enabled);
}

// Work started from inside the dialog (a mod import, say) shows its windows over it.
TEST_F(QtUiOwnerTest, StatusAndProgressWindowsOverTheInstanceDialogBelongToIt) {
  QWidget* shown_dialog = nullptr;
  QWidget* status_owner = nullptr;
  QWidget* progress_owner = nullptr;
  WhenModal<InstanceConfigDialog>([&](InstanceConfigDialog* shown) {
    shown_dialog = shown;
    ui->ShowStatusWindow("Import mod", "", true);
    status_owner = ui->status_window()->parentWidget();
    ui->CloseStatusWindow();
    ui->RunWithProgress("Download", "", [&](base::ProgressSink&) {
      QMetaObject::invokeMethod(
          window.get(),
          [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
              if (qobject_cast<StatusWindow*>(top) && top->isVisible())
                progress_owner = top->parentWidget();
          },
          Qt::BlockingQueuedConnection);
      return 1;
    });
    shown->reject();
  });
  EXPECT_FALSE(InstanceDialog(state, *ui, record));
  ASSERT_NE(shown_dialog, nullptr);
  EXPECT_EQ(status_owner, shown_dialog);
  EXPECT_EQ(progress_owner, shown_dialog);
}

TEST_F(QtUiOwnerTest, BoxWhileTheStatusWindowIsOpenCanBeAnswered) {
  ui->ShowStatusWindow("Clone instance", "Alpha", true);
  ASSERT_FALSE(window->isEnabled());
  AnswerBox();
  ui->ShowMessage("Oxlip", "copy failed");
  ui->CloseStatusWindow();
  EXPECT_TRUE(box_enabled);
  EXPECT_TRUE(window->isEnabled());
}

}  // namespace
}  // namespace oxlip::gui

// The Qt login dialog over its form: layout, keys and buttons, and no close box.
#include "gui/login_dialog.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

#include "app/login_dialog.h"
#include "gui_fixture.h"

namespace oxlip::gui {
namespace {

using app::LoginForm;
using launch::Credentials;

void Press(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST(LoginWindow, EveryGadgetWholeAtTwiceTheTextSizeAndNoCloseBox) {
  QFont usual = QApplication::font();
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    QFont font = usual;
    font.setPointSizeF(usual.pointSizeF() * scale);
    QApplication::setFont(font);
    LoginForm form(Credentials{"steve", "pw"});
    LoginWindow dialog(nullptr, form);
    dialog.show();
    test::ExpectUsable(&dialog, &dialog);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowTitleHint);
    EXPECT_EQ(dialog.password_field()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.password_field()->text(), "pw");
  }
  QApplication::setFont(usual);
}

// Return logs in wherever the focus is; Escape and a close request cancel; "Play offline" needs a
// name.
TEST(LoginWindow, KeysAndButtons) {
  struct Case {
    const char* name;
    std::function<void(LoginWindow&)> act;
    bool accepted, offline;
  };
  const Case cases[] = {
      {"Return on Cancel",
       [](LoginWindow& d) {
         d.cancel_button()->setFocus();
         Press(d.cancel_button(), Qt::Key_Return);
       },
       true, false},
      {"Escape", [](LoginWindow& d) { Press(d.password_field(), Qt::Key_Escape); }, false, false},
      {"close", [](LoginWindow& d) { d.close(); }, false, false},
      {"offline",
       [](LoginWindow& d) {
         d.name_field()->clear();
         EXPECT_FALSE(d.offline_button()->isEnabled());
         d.name_field()->setText("Alex");
         d.offline_button()->click();
       },
       true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoginForm form(Credentials{"steve", "old"});
    LoginWindow dialog(nullptr, form);
    dialog.show();
    dialog.password_field()->setText("typed");
    c.act(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(form.accepted() || form.offline(), c.accepted);
    EXPECT_EQ(form.offline(), c.offline);
    EXPECT_EQ(form.password(), c.accepted ? "typed" : "old");
  }
}

// The whole round through the Ui port: modal over the main window, the focus where the form says.
TEST(LoginWindow, TheUiRunsItModallyOverTheMainWindow) {
  app::AppState state;
  MainWindow window(state);
  window.show();
  QtUi ui(&window);
  for (std::string user : {"Notch", ""}) {
    test::WhenUp<LoginWindow>([&](LoginWindow* dialog) {
      EXPECT_TRUE(!window.isEnabled() || dialog->isModal());
      EXPECT_EQ(dialog->focusWidget(),
                user.empty() ? dialog->name_field() : dialog->password_field());
      dialog->password_field()->setText("hunter2");
      (user.empty() ? dialog->cancel_button() : dialog->login_button())->click();
    });
    Credentials credentials{user, ""};
    EXPECT_EQ(LoginDialog(ui, credentials), user.empty() ? 0 : 1);
    EXPECT_EQ(credentials.password, user.empty() ? "" : "hunter2");
  }
}

}  // namespace
}  // namespace oxlip::gui

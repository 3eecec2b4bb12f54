// The Qt login dialog over its form: layout, keys, and no close box.
#include "gui/login_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "app/login_dialog.h"
#include "gui/qt_ui.h"

namespace oxlip::gui {
namespace {

using app::LoginForm;
using launch::Credentials;

void Press(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

// Every gadget shows its text whole at the usual text size and at twice it, inside the dialog
// and clear of the others; the dialog is never smaller than designed.
TEST(LoginWindow, LayoutFitsItsTextsTitleAndNoCloseBox) {
  QFont usual = QApplication::font();
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    QFont font = usual;
    font.setPointSizeF(usual.pointSizeF() * scale);
    QApplication::setFont(font);
    LoginForm form(Credentials{"steve", "pw"});
    LoginWindow dialog(nullptr, form);
    EXPECT_GE(dialog.width(), 300);
    EXPECT_GE(dialog.height(), 90);
    QList<QWidget*> gadgets = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(gadgets.size(), 7);
    for (QWidget* g : gadgets) {
      std::string name = g->property("text").toString().toStdString();
      EXPECT_TRUE(dialog.rect().contains(g->geometry())) << name;
      EXPECT_GE(g->width(), qobject_cast<QLabel*>(g) || qobject_cast<QPushButton*>(g)
                                ? g->sizeHint().width()
                                : g->minimumSizeHint().width())
          << name;
      EXPECT_GE(g->height(), g->minimumSizeHint().height()) << name;
      for (QWidget* other : gadgets)
        EXPECT_TRUE(other == g || !g->geometry().intersects(other->geometry())) << name;
    }
  }
  QApplication::setFont(usual);
  LoginForm form(Credentials{"steve", "pw"});
  LoginWindow dialog(nullptr, form);
  EXPECT_EQ(dialog.windowTitle(), "MineCraft Login");
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowTitleHint);
  EXPECT_EQ(dialog.password_field()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dialog.name_field()->text(), "steve");
  EXPECT_EQ(dialog.password_field()->text(), "pw");
}

TEST(LoginWindow, ReturnLogsInWithTheTextsAsTypedEvenOnCancel) {
  LoginForm form(Credentials{"", ""});
  LoginWindow dialog(nullptr, form);
  dialog.show();
  dialog.name_field()->setText(" alex ");
  dialog.password_field()->setText("a&b c ");
  dialog.cancel_button()->setFocus();
  Press(dialog.cancel_button(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(form.accepted());
  EXPECT_EQ(form.user(), " alex ");
  EXPECT_EQ(form.password(), "a&b c ");
}

TEST(LoginWindow, PlayOfflineNeedsANameAndTakesTheTexts) {
  LoginForm form(Credentials{"", ""});
  LoginWindow dialog(nullptr, form);
  dialog.show();
  EXPECT_FALSE(dialog.offline_button()->isEnabled());
  dialog.name_field()->setText("Alex");
  ASSERT_TRUE(dialog.offline_button()->isEnabled());
  dialog.offline_button()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(form.offline());
  EXPECT_EQ(form.user(), "Alex");
}

TEST(LoginWindow, EscapeAndACloseRequestCancelAndKeepTheTexts) {
  LoginForm form(Credentials{"steve", "old"});
  LoginWindow dialog(nullptr, form);
  dialog.show();
  dialog.password_field()->setText("typed");
  Press(dialog.password_field(), Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(form.accepted());
  EXPECT_EQ(form.password(), "old");

  LoginForm closed(Credentials{"steve", "old"});
  LoginWindow other(nullptr, closed);
  other.show();
  other.close();
  EXPECT_FALSE(closed.accepted());
  EXPECT_FALSE(other.isVisible());
}

// The whole round through the Ui port: modal over the main window, Login clicked.
TEST(LoginWindow, TheUiRunsItModallyOverTheMainWindow) {
  app::AppState state;
  MainWindow window(state);
  window.show();
  QtUi ui(&window);
  bool parent_disabled = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<LoginWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    parent_disabled = !window.isEnabled() || dialog->isModal();
    EXPECT_EQ(dialog->focusWidget(), dialog->password_field());  // the name is known
    dialog->password_field()->setText("hunter2");
    dialog->login_button()->click();
  });
  Credentials credentials{"Notch", ""};
  EXPECT_EQ(LoginDialog(ui, credentials), 1);
  EXPECT_TRUE(parent_disabled);
  EXPECT_EQ(credentials.user, "Notch");
  EXPECT_EQ(credentials.password, "hunter2");

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<LoginWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->focusWidget(), dialog->name_field());
    dialog->cancel_button()->click();
  });
  credentials.user = "";
  EXPECT_EQ(LoginDialog(ui, credentials), 0);
  EXPECT_EQ(credentials.password, "hunter2");
}

}  // namespace
}  // namespace oxlip::gui

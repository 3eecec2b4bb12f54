// The login dialog's rules, through the Ui port.
#include <gtest/gtest.h>

#include "app/login_dialog.h"
#include "support/scripted_ui.h"

namespace oxlip {
namespace {

using app::LoginField;
using app::LoginForm;
using launch::Credentials;

TEST(LoginForm, FocusStartsInTheNameFieldOnlyWithoutAName) {
  EXPECT_EQ(LoginForm(Credentials{"", "secret"}).InitialFocus(), LoginField::kName);
  EXPECT_EQ(LoginForm(Credentials{"steve", ""}).InitialFocus(), LoginField::kPassword);
}

TEST(LoginDialog, LoginTakesTheTextsAsTypedAndCancelKeepsTheOldOnes) {
  test::ScriptedUi ui;
  Credentials credentials{"steve", "old"};
  ui.on_login = [](LoginForm& form) {
    form.SetUser(" alex ");
    form.Accept();
    return true;
  };
  EXPECT_EQ(LoginDialog(ui, credentials), app::kLoginChosen);
  EXPECT_EQ(credentials.user + credentials.password, " alex old");
  ui.on_login = [](LoginForm& form) {
    form.SetUser("typed, then cancelled");
    form.Cancel();
    return false;
  };
  EXPECT_EQ(LoginDialog(ui, credentials), app::kLoginCancelled);
  EXPECT_EQ(credentials.user, " alex ");
  ui.on_login = [](LoginForm& form) {
    form.SetUser("offline name");
    form.PlayOffline();
    return true;
  };
  EXPECT_EQ(LoginDialog(ui, credentials), app::kPlayOfflineChosen);
  EXPECT_EQ(credentials.user, "offline name");
}

}  // namespace
}  // namespace oxlip

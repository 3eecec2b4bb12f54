#include "app/login_dialog.h"

namespace oxlip {

int LoginDialog(Ui& ui, launch::Credentials& credentials) {
  app::LoginForm form(credentials);
  if (!ui.RunLoginDialog(form)) return 0;
  credentials = form.texts();
  return 1;
}

}  // namespace oxlip

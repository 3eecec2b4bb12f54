#include "launch/login_form.h"

namespace oxlip {

int LoginDialog(Ui& ui, launch::Credentials& credentials) {
  launch::LoginForm form(credentials);
  if (!ui.RunLoginDialog(form)) return 0;
  credentials = form.texts();
  return 1;
}

}  // namespace oxlip

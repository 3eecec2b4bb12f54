#include "app/login_dialog.h"

namespace oxlip {

int LoginDialog(app::Ui& ui, launch::Credentials& credentials) {
  app::LoginForm form(credentials);
  if (!ui.RunLoginDialog(form)) return app::kLoginCancelled;
  credentials = form.texts();
  return form.offline() ? app::kPlayOfflineChosen : app::kLoginChosen;
}

}  // namespace oxlip

#include "app/dialog_services.h"

// Stand-ins: NewMod, ImportMod, LoginDialog, EncodeLogin and DecodeLogin join here when the
// mod and login work is merged. Until then the dialog sees every one of them cancelled.

namespace oxlip::app {

std::string DialogNewMod(AppState&, Ui&) { return ""; }  // NewMod(parent)

std::string DialogImportMod(AppState&, Ui&, const std::string&) {  // ImportMod(parent, file)
  return "";
}

bool DialogLogin(AppState&, Ui&, instances::LoginCredentials&) {  // LoginDialog
  return false;
}

std::string DialogEncodeLogin(const instances::LoginCredentials&) {  // EncodeLogin
  return "";
}

instances::LoginCredentials DialogDecodeLogin(const std::string&) {  // DecodeLogin
  return {};
}

}  // namespace oxlip::app

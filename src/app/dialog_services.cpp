#include "app/dialog_services.h"

#include "launch/login_crypt.h"
#include "launch/login_form.h"
#include "mods/mod_import.h"
#include "mods/new_mod.h"

namespace oxlip::app {
namespace {

launch::Credentials ToLaunch(const instances::LoginCredentials& credentials) {
  return {credentials.user, credentials.password};
}

}  // namespace

std::string DialogNewMod(AppState& state, Ui& ui) {
  return NewMod(state.settings, state.versions, ui);
}

std::string DialogImportMod(AppState& state, Ui& ui, const std::string& file) {
  return ImportMod(state.settings, state.versions, ui, file);
}

bool DialogLogin(AppState&, Ui& ui, instances::LoginCredentials& credentials) {
  launch::Credentials entered = ToLaunch(credentials);
  if (!LoginDialog(ui, entered)) return false;
  credentials = {entered.user, entered.password};
  return true;
}

std::string DialogEncodeLogin(const instances::LoginCredentials& credentials) {
  return EncodeLogin(ToLaunch(credentials));
}

instances::LoginCredentials DialogDecodeLogin(const std::string& text) {
  launch::Credentials decoded;
  DecodeLogin(text, decoded);
  return {decoded.user, decoded.password};
}

}  // namespace oxlip::app

#pragma once
// The operations of other folders that the instance dialog starts: the mod creation dialog,
// mod import, the login dialog and the credentials coding.
#include <string>

#include "app/app_state.h"
#include "base/ui.h"
#include "instances/instance_dialog_services.h"

namespace oxlip::app {

// The new mod's folder in the library, or "" when cancelled or failed.
std::string DialogNewMod(AppState& state, Ui& ui);
std::string DialogImportMod(AppState& state, Ui& ui, const std::string& file);
// The login dialog over the given credentials; true when the person logged in.
bool DialogLogin(AppState& state, Ui& ui, instances::LoginCredentials& credentials);
std::string DialogEncodeLogin(const instances::LoginCredentials& credentials);
instances::LoginCredentials DialogDecodeLogin(const std::string& text);

}  // namespace oxlip::app

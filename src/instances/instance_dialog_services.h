#pragma once
// What the instance dialog asks of the rest of the program: the mod library and its dialogs,
// the login dialog and the credentials coding, and the message box. The program builds these
// from the folders above this one; a missing service acts as cancelled or empty.
#include <functional>
#include <string>

#include "instances/library_mod.h"

namespace oxlip::instances {

struct LoginCredentials {
  std::string user;
  std::string password;
};

struct InstanceDialogServices {
  // The mod creation dialog; the new mod's folder, or "" when cancelled or failed.
  std::function<std::string()> new_mod;
  // Imports the file into the library; the new mod's folder, or "".
  std::function<std::string(const std::string& file)> import_mod;
  // Scans the library again and gives its rows in library order.
  std::function<LibraryMods()> scan_mods;
  // The login dialog over the given credentials; true when the person logged in, with the
  // credentials entered.
  std::function<bool(LoginCredentials&)> login;
  std::function<std::string(const LoginCredentials&)> encode_login;
  std::function<LoginCredentials(const std::string&)> decode_login;
  std::function<void(const std::string& title, const std::string& text)> show_message;
  // Where the icon requester starts while no icon file is chosen.
  std::string icon_folder;
};

}  // namespace oxlip::instances

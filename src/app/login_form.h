#pragma once
// The login dialog's model: the two texts, where the focus starts, and how it ended. The Qt
// dialog binds its fields and keys to it.
#include <string>

#include "launch/credentials.h"

namespace oxlip::app {

enum class LoginField { kName, kPassword };

// How the dialog ended: LoginDialog's result.
inline constexpr int kLoginCancelled = 0;
inline constexpr int kLoginChosen = 1;
inline constexpr int kPlayOfflineChosen = 2;

class LoginForm {
 public:
  static constexpr const char* kTitle = "MineCraft Login";

  explicit LoginForm(const launch::Credentials& credentials) : texts_(credentials) {}

  const std::string& user() const { return texts_.user; }
  const std::string& password() const { return texts_.password; }
  void SetUser(const std::string& text) { texts_.user = text; }
  void SetPassword(const std::string& text) { texts_.password = text; }

  // The name field when no user name is given, else the password field.
  LoginField InitialFocus() const {
    return texts_.user.empty() ? LoginField::kName : LoginField::kPassword;
  }

  // "Login" or Return; "Cancel", Escape, or closing the window.
  void Accept() { accepted_ = true; }
  void Cancel() { accepted_ = false; }
  bool accepted() const { return accepted_; }

  // "Play offline": the game gets the name and no ticket, and the password goes nowhere.
  // Offered only with a name, which the game could not do without.
  static bool CanPlayOffline(const std::string& user) { return !user.empty(); }
  void PlayOffline() { offline_ = accepted_ = true; }
  bool offline() const { return offline_; }

  // The texts as typed, not trimmed.
  const launch::Credentials& texts() const { return texts_; }

 private:
  launch::Credentials texts_;
  bool accepted_ = false;
  bool offline_ = false;
};

}  // namespace oxlip::app

#pragma once
// The Java command line of a game start, as one text in the Windows program's form, made for
// the conventions of a system.
#include <string>

#include "base/settings.h"
#include "instances/instance.h"
#include "platform/conventions.h"

namespace oxlip::launch {

struct JavaCommand {
  // The Java program in double quotes, then a blank and the arguments when there are any.
  std::string command_line;
  std::string working_folder;  // "" for the program's current folder
  // The environment variable that points the game at the instance folder, for the child only.
  std::string home_variable;
  std::string home_value;
};

// The user name and ticket of a built-in start (both empty without a login).
struct GameLogin {
  std::string user;
  std::string ticket;
};

// The old builds' main takes "-" as the ticket of a game played without the account server:
// their own offline start passed it, and the game then never asks the server about the session.
inline constexpr const char* kOfflineTicket = "-";

// Playing offline under `user`; without a name it is the start without a login, since a lone
// "-" would become the user name.
inline GameLogin OfflineLogin(const std::string& user) {
  return user.empty() ? GameLogin{} : GameLogin{user, kOfflineTicket};
}

// `found_java` is the Java discovery's answer, used unless the instance names its own.
JavaCommand BuildJavaCommand(const base::GlobalSettings& settings, const Instance& record,
                             const GameLogin& login, const std::string& found_java,
                             const platform::Conventions& conventions);

}  // namespace oxlip::launch

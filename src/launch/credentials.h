#pragma once
// What the login takes and what it gives.
#include <string>

namespace oxlip::launch {

struct Credentials {
  std::string user;
  std::string password;
};

// What the account server answered. A request that got no answer leaves both texts as they
// were.
struct LoginAnswer {
  std::string user_or_message;  // the user name on success, the server's message on a refusal
  std::string ticket;           // the session ticket on success
  // Whether the last request got an answer line at all. Without one (no server, a refused
  // connection, a timeout, an error status) the failure is no refusal of the credentials, and
  // playing offline is worth offering.
  bool answered = false;
};

}  // namespace oxlip::launch

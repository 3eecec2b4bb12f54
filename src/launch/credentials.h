#pragma once
// What the login takes and what it gives.
#include <string>

namespace oxlip::launch {

struct Credentials {
  std::string user;
  std::string password;
};

// On success the user name and the session ticket; on a refusal `first` is the server's
// message. A request that got no answer leaves both as they were.
struct LoginAnswer {
  std::string first;
  std::string second;
};

}  // namespace oxlip::launch

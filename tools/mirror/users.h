#pragma once
// The accounts the login endpoint knows, from a users file: one "user:password" a line (the
// password is everything after the first ":", so it may hold ":"), blank lines and lines
// starting with "#" ignored. User names are matched without regard to letter case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::mirror {

class Users {
 public:
  Users() = default;  // nobody can log in
  // nullopt with `error` set when the file cannot be read or a line is malformed.
  static std::optional<Users> Load(const std::string& path, std::string& error);

  // The answer's one line: "<time>:deprecated:<user>:<ticket>:<user id>" for a known user with
  // the right password (the name spelled as in the file), "Bad login" otherwise.
  std::string LoginAnswer(std::string_view user, std::string_view password) const;

 private:
  static std::optional<Users> Parse(std::string_view text, const std::string& path,
                                    std::string& error);

  struct Account {
    std::string user;
    std::string password;
  };
  std::vector<Account> accounts_;
};

}  // namespace oxlip::mirror

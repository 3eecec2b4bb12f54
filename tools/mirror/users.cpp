#include "users.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/md5.h"

namespace oxlip::mirror {
namespace {

// The game's own launcher read the first field as the newest launcher's build time.
constexpr char kLauncherTime[] = "1343825972000";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::optional<Users> Users::Load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "--users '" + path + "' cannot be read";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return Parse(text.str(), path, error);
}

std::optional<Users> Users::Parse(std::string_view text, const std::string& path,
                                  std::string& error) {
  Users users;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) {
      error = path + ":" + std::to_string(number) + ": expected user:password";
      return std::nullopt;
    }
    users.accounts_.push_back(
        Account{std::string(line.substr(0, colon)), std::string(line.substr(colon + 1))});
  }
  return users;
}

std::string Users::LoginAnswer(std::string_view user, std::string_view password) const {
  for (const Account& account : accounts_) {
    if (!SameName(account.user, user) || account.password != password) continue;
    std::string ticket = platform::Md5Hex(account.user + ":" + account.password);
    std::string id = platform::Md5Hex(account.user);
    return std::string(kLauncherTime) + ":deprecated:" + account.user + ":" + ticket + ":" + id;
  }
  return "Bad login";
}

}  // namespace oxlip::mirror

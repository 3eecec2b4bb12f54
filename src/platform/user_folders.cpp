#include "platform/user_folders.h"

#include "platform/env.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

std::string BaseFolder(const char* variable, const char* below_home) {
  std::string value = GetEnvironment(variable);
  if (!value.empty() && value.front() == '/') return WithTrailingSeparator(value);
  std::string home = GetEnvironment("HOME");
  if (home.empty() || home.front() != '/') return "";
  return WithTrailingSeparator(home) + below_home + kNativeSeparator;
}

}  // namespace

std::string UserDataHome() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }

std::string UserCacheHome() { return BaseFolder("XDG_CACHE_HOME", ".cache"); }

}  // namespace oxlip::platform

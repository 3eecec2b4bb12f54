#include "platform/env.h"

#include <cstdlib>

namespace oxlip::platform {

std::string GetEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

void SetEnvironment(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace oxlip::platform

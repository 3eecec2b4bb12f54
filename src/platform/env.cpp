#include "platform/env.h"

#include <cstdlib>

namespace oxlip::platform {

std::string GetEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

}  // namespace oxlip::platform

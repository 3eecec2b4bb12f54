#pragma once
#include <string>

namespace oxlip::platform {

// The variable's value; empty when it is not set.
std::string GetEnvironment(const std::string& name);

}  // namespace oxlip::platform

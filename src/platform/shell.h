#pragma once
#include <string>

namespace oxlip::platform {

// Hands a folder or file to the desktop (xdg-open), without waiting for it. False when the
// helper could not be started.
bool OpenWithShell(const std::string& path);

}  // namespace oxlip::platform

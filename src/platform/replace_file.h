#pragma once
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

// Renames `from` over `to` in one step: `to` holds either its old or its new bytes, never
// neither. Both must lie on the same disk.
bool ReplaceFile(const std::string& from, const std::string& to, Error* error = nullptr);

}  // namespace oxlip::platform

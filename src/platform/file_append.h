#pragma once
// Growing files in place, for records that are only ever added to.
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

// Creates the file empty when it is missing; an existing file keeps its bytes.
bool CreateFileIfMissing(const std::string& path, Error* error = nullptr);

// Appends `data` at the end of the file, creating it when missing.
bool AppendToFile(const std::string& path, const std::string& data, Error* error = nullptr);

}  // namespace oxlip::platform

#pragma once
// Folder settings that may be relative to the start folder.
#include <string>

namespace oxlip::base {

// `path` from the start folder when it is relative. The archiver takes a command line's
// relative names below the folder its caller passes, so a path that must mean the same there
// is made absolute first.
std::string FromStartFolder(const std::string& start_folder, const std::string& path);

}  // namespace oxlip::base

#pragma once
// The desktop's trash (freedesktop.org): deleted instances, versions and mods can be got back.
#include <string>

namespace oxlip::platform {

// Moves the file or folder into the trash of the user's data folder when it is on the same file
// system, else into the ".Trash-UID" folder at the top of its own file system, with the
// ".trashinfo" record that tells the desktop where it came from. False when no trash takes it.
bool MoveToTrash(const std::string& path);

// Into the trash where one can be had; deleted outright (forced) only where none can.
bool TrashOrDelete(const std::string& path);

}  // namespace oxlip::platform

#pragma once
// The desktop's trash (freedesktop.org): deleted instances, versions and mods can be got back.
#include <string>

namespace oxlip::platform {

enum class TrashOutcome {
  kMoved,
  kNoTrash,  // no trash folder can be made where the item belongs
  kFailed,   // a trash exists but did not take the item (full disk, item gone, ...)
};

// Moves the file or folder into the trash of the user's data folder when it is on the same file
// system, else into the ".Trash-UID" folder at the top of its own file system, with the
// ".trashinfo" record that tells the desktop where it came from.
TrashOutcome MoveToTrash(const std::string& path);

// Into the trash where one can be had; deleted outright (forced) only where none can. False when
// the item is still there: a trash that failed never turns into a deletion.
bool TrashOrDelete(const std::string& path);

}  // namespace oxlip::platform

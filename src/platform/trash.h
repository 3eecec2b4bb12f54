#pragma once
// The desktop's trash (freedesktop.org): deleted instances, versions and mods can be got back.
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

enum class TrashOutcome {
  kMoved,
  kNoTrash,  // no trash can be named: no home folder is known (neither XDG_DATA_HOME nor HOME)
  // The trash where the item belongs could not be made or written, or did not take the item (a
  // full disk, a quota, rights, the item gone, ...).
  kFailed,
};

// Moves the file or folder into the trash of the user's data folder when it is on the same file
// system, else into the ".Trash-UID" folder at the top of its own file system (found through the
// links on the way to it), with the ".trashinfo" record that tells the desktop where it came
// from: the path with its folders resolved.
TrashOutcome MoveToTrash(const std::string& path, Error* error = nullptr);

// Into the trash; deleted outright (forced) only where no trash can be named. False when the item
// is still there: a trash that failed never turns into a deletion.
bool TrashOrDelete(const std::string& path, Error* error = nullptr);

}  // namespace oxlip::platform

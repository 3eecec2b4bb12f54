#pragma once
// Moving a folder's contents into another folder, merging.
#include <string>

namespace oxlip {

// Moves the contents of `source` into `target` (both ending with a separator), merging
// folders and replacing files of the same name. `source` stays, empty. Whatever cannot be
// moved stays in `source`; nothing is deleted that was not moved.
void MoveTree(const std::string& source, const std::string& target);

}  // namespace oxlip

#pragma once
// Undoing a recorded set of installed paths.
#include <map>
#include <string>

namespace oxlip {

// Deletes the recorded files with a level up to `level_limit`, then the recorded folders
// (keys ending in "\") that hold no file any more, whatever the files' dates. Keys that are
// absolute or hold ".." are never followed, so a damaged record cannot reach outside `base`.
void RemoveListedPaths(const std::string& base, const std::map<std::string, int>& paths,
                       int level_limit);

}  // namespace oxlip

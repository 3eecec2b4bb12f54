#pragma once
// Path helpers shared by many commands.
#include <map>
#include <string>

#include "platform/dates.h"

namespace oxlip {

// The text converted for an archiver command line; the identity where text is UTF-8.
std::string ToOemText(const std::string& text);

// Creates every folder named before a separator of the path; failures are ignored.
void CreatePath(const std::string& path);

// A fresh folder name made of the hexadecimal date, " - " and the title with every character
// outside the allowed set replaced by "_". The date counts on while `parent` + name exists.
std::string MakeFolderName(const std::string& title, const std::string& parent);

// Deletes the recorded files with a level up to `level_limit`, then the recorded folders
// (keys ending in "\") that hold no file any more, whatever the files' dates. Keys that are
// absolute or hold ".." are never followed, so a damaged record cannot reach outside `base`.
void RemoveListedPaths(const std::string& base, const std::map<std::string, int>& paths,
                       int level_limit);

// The newest modification date of any file in the folder's tree; 0 when there is none.
platform::DateValue NewestFileDate(const std::string& folder);

}  // namespace oxlip

namespace oxlip::base {

// A folder setting may be relative to the start folder; the archiver resolves names against
// whatever folder it runs in, so such paths are made absolute before a change of folder.
std::string FromStartFolder(const std::string& start_folder, const std::string& path);

// True when a file lies anywhere below the folder; empty folders do not count.
bool TreeHoldsFile(const std::string& folder);

}  // namespace oxlip::base

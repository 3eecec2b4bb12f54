#pragma once
// The files and folders an "a" or "u" command takes from the disk.
#include <ctime>
#include <string>
#include <vector>

#include "archive/command.h"

namespace oxlip::archive {

struct DiskItem {
  std::string archive_name;  // "/"-separated, no trailing separator
  std::string disk_path;     // native
  bool folder = false;
  std::time_t modified = 0;
};

// Resolves the command's names against its folder (the current folder when it has none):
// - "dir\" (trailing separator) on the command line: everything below dir, named relative to it;
// - a wildcard in the last part: the matching entries of that folder (at every depth with
//   "-r"), a matching folder with everything below it;
// - a plain name: that file, or that folder with everything below it; a folder named in a
//   list file stands for itself alone unless "-r" is given.
// Exclusions apply to the names in the archive. `archive` itself is never taken, and neither
// is a link (nor what it points at); links in the folders of a name given are followed.
bool CollectDiskItems(const Command& command, const std::string& archive,
                      std::vector<DiskItem>* items, std::string* error);

}  // namespace oxlip::archive

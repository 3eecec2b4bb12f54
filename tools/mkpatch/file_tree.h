#pragma once
// The files of a jar or a folder, in the order a patch names them.
#include <string>
#include <vector>

#include "platform/dates.h"

namespace oxlip::mkpatch {

struct TreeEntry {
  std::string name;  // record form: "\" between folders, a folder ends in "\"
  std::string data;
  platform::DateValue date = 0;

  bool folder() const { return !name.empty() && name.back() == '\\'; }
};

using FileTree = std::vector<TreeEntry>;

// A jar: its entries in archive order, dated as an extraction dates them. A folder: everything
// below it, sub-folders before what they hold, in name order. False with `error` set when the
// path cannot be read or names an entry that would lead out of the folder it is unpacked to.
bool ReadFileTree(const std::string& path, FileTree* tree, std::string* error);

}  // namespace oxlip::mkpatch

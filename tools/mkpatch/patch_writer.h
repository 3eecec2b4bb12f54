#pragma once
// A whole downgrade patch from the file trees of two jars.
#include <cstddef>
#include <string>

#include "file_tree.h"

namespace oxlip::mkpatch {

struct PatchStats {
  std::size_t kept = 0;
  std::size_t new_content = 0;
  std::size_t deltas = 0;
  std::size_t target_bytes = 0;  // the content of all target files
};

// One record for every entry of `target`, in its order: kept when `source` holds the same bytes
// under the same name (folders always), a delta when the source has a file of that name and
// the delta is smaller than the new content, the new content otherwise. False with `error` set
// for what the format cannot hold (names over 255 bytes, files of 2 GB and more).
bool MakePatch(const FileTree& source, const FileTree& target, std::string* patch,
               PatchStats* stats, std::string* error);

}  // namespace oxlip::mkpatch

#include "base/newest_file_date.h"

#include <algorithm>

#include "platform/fs.h"

namespace oxlip {
namespace {

// No real instance is nested this deep.
constexpr int kMaxTreeDepth = 128;

platform::DateValue NewestBelow(const std::string& folder, int depth) {
  platform::DateValue newest = 0;
  if (depth > kMaxTreeDepth) return newest;
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) {
    if (entry.is_folder)
      newest = std::max(newest, NewestBelow(folder + entry.name + "\\", depth + 1));
    else if (entry.kind == platform::PathKind::kFile)
      newest = std::max(newest, entry.modified);
  }
  return newest;
}

}  // namespace

platform::DateValue NewestFileDate(const std::string& folder) { return NewestBelow(folder, 0); }

}  // namespace oxlip

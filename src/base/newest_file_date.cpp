#include "base/newest_file_date.h"

#include <algorithm>

#include "platform/fs.h"

namespace oxlip {
namespace {

// Symbolic links can make a tree endless; no real instance is nested this deep.
constexpr int kMaxTreeDepth = 128;

platform::DateValue NewestBelow(const std::string& folder, int depth) {
  platform::DateValue newest = 0;
  if (depth > kMaxTreeDepth) return newest;
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) {
    if (entry.name == "." || entry.name == "..") continue;
    platform::DateValue date =
        entry.is_folder ? NewestBelow(folder + entry.name + "\\", depth + 1) : entry.modified;
    newest = std::max(newest, date);
  }
  return newest;
}

}  // namespace

platform::DateValue NewestFileDate(const std::string& folder) { return NewestBelow(folder, 0); }

}  // namespace oxlip

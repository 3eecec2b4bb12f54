#include "base/tree_holds_file.h"

#include "platform/fs.h"

namespace oxlip::base {
namespace {

// No real instance is nested this deep.
constexpr int kMaxTreeDepth = 128;

bool HoldsFileBelow(const std::string& folder, int depth) {
  if (depth > kMaxTreeDepth) return false;
  // A link or a special file counts as something held: it is never followed, nor deleted.
  for (const platform::DirEntry& entry : platform::ListFolder(folder))
    if (!entry.is_folder || HoldsFileBelow(folder + entry.name + "\\", depth + 1)) return true;
  return false;
}

}  // namespace

bool TreeHoldsFile(const std::string& folder) { return HoldsFileBelow(folder, 0); }

}  // namespace oxlip::base

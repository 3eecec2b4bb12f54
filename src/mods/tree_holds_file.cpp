#include "mods/tree_holds_file.h"

#include "platform/fs.h"

namespace oxlip::mods {
namespace {

constexpr int kMaxDepth = 128;

bool HoldsFileBelow(const std::string& folder, int depth) {
  if (depth > kMaxDepth) return false;
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) {
    if (entry.name == "." || entry.name == "..") continue;
    if (!entry.is_folder || HoldsFileBelow(folder + entry.name + "\\", depth + 1)) return true;
  }
  return false;
}

}  // namespace

bool TreeHoldsFile(const std::string& folder) { return HoldsFileBelow(folder, 0); }

}  // namespace oxlip::mods

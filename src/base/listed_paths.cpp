#include "base/listed_paths.h"

#include "base/tree_holds_file.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {
namespace {

bool SafeKey(const std::string& key) {
  return !platform::IsAbsolutePath(key) && !platform::HasParentPart(key);
}

}  // namespace

void RemoveListedPaths(const std::string& base, const std::map<std::string, int>& paths,
                       int level_limit) {
  for (const auto& [key, level] : paths)
    if (!key.empty() && key.back() != '\\' && level <= level_limit && SafeKey(key))
      platform::DeleteFile(base + key);
  for (const auto& [key, level] : paths)
    if (!key.empty() && key.back() == '\\' && level <= level_limit && SafeKey(key) &&
        !oxlip::base::TreeHoldsFile(base + key))
      platform::DeleteTree(base + key);
}

}  // namespace oxlip

#include "base/listed_paths.h"

#include "base/newest_file_date.h"
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
        NewestFileDate(base + key) == 0)
      platform::DeleteTree(base + key);
}

}  // namespace oxlip

#include "mods/move_tree.h"

#include "platform/fs.h"
#include "platform/path.h"
#include "platform/replace_file.h"

namespace oxlip {
namespace {

// No mod is nested this deep.
constexpr int kMaxDepth = 128;

// A folder that cannot be listed is not known to be empty.
bool IsEmptyFolder(const std::string& folder) {
  platform::Error error;
  return platform::ListFolder(folder, &error).empty() && !error;
}

void MoveContents(const std::string& source, const std::string& target, int depth) {
  if (depth > kMaxDepth) return;
  for (const platform::DirEntry& entry : platform::ListFolder(source)) {
    std::string from = source + entry.name, to = target + entry.name;
    if (!entry.is_folder) {
      // One step: the file of that name in the target is replaced, never lost on a failure. A
      // link or a special file moves as itself, never followed or opened.
      if (!platform::IsFolder(to)) platform::ReplaceFile(from, to);
      continue;
    }
    if (!platform::Exists(to) && platform::RenameFile(from, to)) continue;
    platform::CreateFolder(to);
    MoveContents(from + "\\", to + "\\", depth + 1);
    // What could not be moved stays where it was.
    if (IsEmptyFolder(from)) platform::DeleteTree(from);
  }
}

}  // namespace

void MoveTree(const std::string& source, const std::string& target) {
  std::string from = platform::WithTrailingSeparator(platform::NativePath(source));
  std::string to = platform::WithTrailingSeparator(platform::NativePath(target));
  // The same folder, or a target inside the source, which would grow while it is walked.
  if (to.compare(0, from.size(), from) == 0) return;
  MoveContents(source, target, 0);
}

}  // namespace oxlip

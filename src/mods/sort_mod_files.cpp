#include "mods/sort_mod_files.h"

#include "mods/mod_workspace.h"
#include "mods/move_tree.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/replace_file.h"

namespace oxlip {
namespace {

constexpr int kMaxDepth = 64;

bool HoldsClassFile(const std::string& folder) {
  for (const platform::DirEntry& entry : platform::ListFolder(folder))
    if (entry.kind == platform::PathKind::kFile && platform::EndsWithNoCase(entry.name, ".class"))
      return true;
  return false;
}

// The part of the workspace that takes the contents of a folder of this name; "" when the
// name is not recognised.
std::string FolderTarget(const std::string& folder, const std::string& name,
                         const std::string& workspace) {
  std::string lower = platform::LowerAscii(name);
  auto has = [&](const char* text) { return lower.find(text) != std::string::npos; };
  if (has("mods")) return workspace + "root\\mods\\";
  if (has("minecraft")) return workspace + (has("jar") ? mods::kJarPart : mods::kRootPart);
  if (has("resources")) return workspace + "root\\resources\\";
  if (has("bin"))
    return workspace + (HoldsClassFile(folder + "\\") ? mods::kJarPart : "root\\bin\\");
  if (has("config")) return workspace + "root\\config\\";
  return "";
}

// Moves what the rules recognise at this level; true when a folder was recognised.
bool SortLevel(const std::string& source, const std::string& workspace) {
  bool recognised = false;
  for (const platform::DirEntry& entry : platform::ListFolder(source)) {
    std::string path = source + entry.name;
    if (!entry.is_folder) {
      std::string mods_file = workspace + "root\\mods\\" + platform::LowerAscii(entry.name);
      if (platform::EndsWithNoCase(entry.name, ".zip") && !platform::IsFolder(mods_file))
        platform::ReplaceFile(path, mods_file);
      continue;
    }
    std::string target = FolderTarget(path, entry.name, workspace);
    if (target.empty()) continue;
    MoveTree(path + "\\", target);
    recognised = true;
  }
  return recognised;
}

void Sort(const std::string& source, const std::string& workspace, int depth) {
  mods::CreateWorkspaceFolders(workspace);
  if (HoldsClassFile(source)) {
    MoveTree(source, workspace + mods::kJarPart);
  } else if (!SortLevel(source, workspace) && depth < kMaxDepth) {
    for (const platform::DirEntry& entry : platform::ListFolder(source))
      if (entry.is_folder) Sort(source + entry.name + "\\", workspace, depth + 1);
  }
  MoveTree(source, workspace + mods::kUnusedPart);
}

}  // namespace

void SortModFiles(const std::string& source, const std::string& workspace) {
  Sort(source, workspace, 0);
}

}  // namespace oxlip

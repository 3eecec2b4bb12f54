#include "app/mod_dialog_model.h"

#include "mods/mod_workspace.h"
#include "mods/move_tree.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/replace_file.h"
#include "versions/store_jar_name.h"

namespace oxlip::app {
namespace {

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

// A folder that cannot be listed is not known to be empty.
bool IsEmptyFolder(const std::string& folder) {
  platform::Error error;
  return platform::ListFolder(folder, &error).empty() && !error;
}

// One entry of the folder a list shows: never a way out of it.
bool IsPlainName(const std::string& item) {
  return !item.empty() && item != "." && item != ".." &&
         item.find_first_of("/\\") == std::string::npos;
}

// Shell paths arrive in the desktop's form, workspace paths in ours: compare them one way.
std::string Comparable(const std::string& path) { return platform::NativePath(path); }

void CopyDropped(const std::string& path, const std::string& target) {
  std::string from = Comparable(path);
  while (from.size() > 1 && from.back() == '/') from.pop_back();
  std::string name = platform::FileNamePart(from);
  std::string to = Comparable(target) + name;
  if (name.empty() || to == from) return;
  if (platform::IsFile(from)) {
    if (!platform::IsFolder(to)) platform::CopyFile(from, to);
  } else if (platform::IsFolder(from) && !StartsWith(to, from + "/")) {
    // A folder copied into itself would grow while it is copied.
    platform::CreateFolder(to);
    platform::CopyTree(from, to);
  }
}

}  // namespace

ModDialogModel::ModDialogModel(const std::string& workspace, const versions::VersionList& versions,
                               ModRecord& record)
    : record_(record), versions_{"all"}, name_(record.Name) {
  for (const VersionEntry& entry : versions) {
    versions_.push_back(versions::StoredVersionName(entry.File));
    if (selected_version_ == 0 && versions_.back() == record.Version)
      selected_version_ = static_cast<int>(versions_.size()) - 1;
  }
  lists_[kJarList].base = workspace + mods::kJarPart;
  lists_[kRootList].base = workspace + mods::kRootPart;
  lists_[kUnusedList].base = workspace + mods::kUnusedPart;
}

std::size_t ModDialogModel::Index(int list) {
  return list >= 0 && list < kModDialogLists ? static_cast<std::size_t>(list) : 0;
}

void ModDialogModel::SelectVersion(int index) {
  if (index >= 0 && index < static_cast<int>(versions_.size())) selected_version_ = index;
}

std::string ModDialogModel::ShownFolder(int list) const {
  return BaseFolder(list) + RelativePath(list);
}

bool ModDialogModel::Enter(int list, const std::string& item) {
  if (!IsPlainName(item) || !platform::IsFolder(ShownFolder(list) + item)) return false;
  lists_[Index(list)].relative += item + "\\";
  return true;
}

bool ModDialogModel::Up(int list) {
  std::string& relative = lists_[Index(list)].relative;
  if (relative.empty()) return false;
  std::size_t cut = relative.rfind('\\', relative.size() - 2);
  relative.erase(cut == std::string::npos ? 0 : cut + 1);
  return true;
}

std::string ModDialogModel::DropTarget(int list, const std::string& current_item) const {
  std::string shown = ShownFolder(list);
  if (IsPlainName(current_item) && platform::IsFolder(shown + current_item))
    return shown + current_item + "\\";
  return shown;
}

void ModDialogModel::StartDrag(int list, const std::vector<std::string>& items) {
  drag_.clear();
  for (const std::string& item : items)
    if (IsPlainName(item)) drag_.push_back(ShownFolder(list) + item);
}

void ModDialogModel::DropDragged(int list, const std::string& current_item) {
  std::string target = DropTarget(list, current_item);
  for (const std::string& path : drag_) {
    std::string p = platform::RecordPath(path), t = platform::RecordPath(target);
    // Into itself or below itself, or already in the target or below it. The item's own
    // separator keeps a folder "mods" from counting as a part of "mods2".
    if (StartsWith(t, p + "\\") || StartsWith(p, t)) continue;
    MoveItem(path, target);
  }
  drag_.clear();
}

void ModDialogModel::MoveItem(const std::string& path, const std::string& target) {
  std::string name = platform::FileNamePart(path);
  std::string to = target + name;
  if (platform::IsFile(path)) {
    if (!platform::IsFolder(to)) platform::ReplaceFile(path, to);
    return;
  }
  // An item that vanished since the drag started is left alone.
  if (!platform::IsFolder(path)) return;
  if (!platform::Exists(to) && platform::RenameFile(path, to)) return;
  platform::CreateFolder(to);
  MoveTree(path + "\\", to + "\\");
  if (IsEmptyFolder(path)) platform::DeleteTree(path);
}

bool ModDialogModel::DropShellFiles(int list, const std::string& current_item,
                                    const std::string& paths) {
  if (!AcceptsShellDrop(list)) return false;
  std::string target = DropTarget(list, current_item);
  std::size_t start = 0;
  while (start < paths.size()) {
    std::size_t end = paths.find('\n', start);
    if (end == std::string::npos) end = paths.size();
    std::string path = paths.substr(start, end - start);
    if (!path.empty() && path.back() == '\r') path.pop_back();
    if (!path.empty()) CopyDropped(path, target);
    start = end + 1;
  }
  return true;
}

void ModDialogModel::Confirm() {
  record_.Version = versions_[static_cast<std::size_t>(selected_version_)];
  record_.Name = name_;
}

}  // namespace oxlip::app

#pragma once
// What the mod dialog does, without its widgets: the version and name fields, the three lists
// over the workspace parts (browsing, the drop target) and what a drag or a drop from the
// desktop does to the workspace on disk.
#include <array>
#include <string>
#include <vector>

#include "mods/mod_library.h"
#include "versions/version_entry.h"

namespace oxlip::app {

// The lists, left to right.
enum ModDialogList : int { kJarList = 0, kRootList = 1, kUnusedList = 2 };
inline constexpr int kModDialogLists = 3;

class ModDialogModel {
 public:
  // `workspace` ends with a separator; `record` is changed only by Confirm.
  ModDialogModel(const std::string& workspace, const versions::VersionList& versions,
                 ModRecord& record);

  // "all", then every stored version in the list's order.
  const std::vector<std::string>& version_choices() const { return versions_; }
  // The record's version when it is one of the choices, "all" otherwise.
  int selected_version() const { return selected_version_; }
  void SelectVersion(int index);
  const std::string& name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  const std::string& BaseFolder(int list) const { return lists_[Index(list)].base; }
  // "" or folder names each followed by "\".
  const std::string& RelativePath(int list) const { return lists_[Index(list)].relative; }
  std::string ShownFolder(int list) const;
  std::string PathField(int list) const { return "\\" + RelativePath(list); }

  // A double-click on an item: a folder is entered. True when the list shows another folder.
  bool Enter(int list, const std::string& item);
  // The up button. True when the list shows another folder.
  bool Up(int list);

  // Where a drop on the list goes: the folder it shows, or the current item when that is a
  // folder. Ends with "\".
  std::string DropTarget(int list, const std::string& current_item) const;

  // Remembers the selected items of `list` (names in the folder it shows) as the dragged ones.
  void StartDrag(int list, const std::vector<std::string>& items);
  const std::vector<std::string>& drag_list() const { return drag_; }
  // Moves the dragged items into the list's drop target, skipping an item dropped into
  // itself or into the folder it already lies in; the drag list is emptied.
  void DropDragged(int list, const std::string& current_item);

  // Files from the desktop are taken by the first two lists only.
  static bool AcceptsShellDrop(int list) { return list == kJarList || list == kRootList; }
  // Copies the files and folders (paths separated by line feeds) into the drop target; false
  // when the list refuses them.
  bool DropShellFiles(int list, const std::string& current_item, const std::string& paths);

  // "OK": the record takes the selected version and the name as typed.
  void Confirm();

 private:
  struct FileList {
    std::string base;
    std::string relative;
  };
  static std::size_t Index(int list);
  void MoveItem(const std::string& path, const std::string& target);

  ModRecord& record_;
  std::vector<std::string> versions_;
  int selected_version_ = 0;
  std::string name_;
  std::array<FileList, kModDialogLists> lists_;
  std::vector<std::string> drag_;
};

}  // namespace oxlip::app

#pragma once
// The instance configuration dialog without its window: what the gadgets hold, what each
// event does to them, and what a confirm writes into the record. The record itself is only
// touched by Confirm, so a cancelled dialog leaves it as it was.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/dialog_requesters.h"
#include "app/mod_rows.h"
#include "image/image.h"
#include "instances/instance.h"
#include "launch/credentials.h"
#include "mods/mod_library.h"

namespace oxlip::app {

inline constexpr const char* kInstanceDialogTitle = "Instance Config";

// The popup menu of both mod lists, in this order.
struct PopupItem {
  const char* text;
  int id;
};
inline constexpr int kPopupNewMod = 22;
inline constexpr int kPopupImportMod = 23;
inline constexpr PopupItem kModPopupItems[] = {{"Import mod", kPopupImportMod},
                                               {"New mod", kPopupNewMod}};

// The dialog's own drags: which list a drag started in.
inline constexpr int kDragFromInstalled = 2;
inline constexpr int kDragFromAvailable = 3;

enum class ModListSide { kInstalled, kAvailable };
// The installed list takes drags from either list, the available list only from the other.
bool AcceptsModDrag(ModListSide list, int kind);

enum class VersionOption { kRelease, kBeta, kPinned };
enum class LauncherOption { kInternal, kMineCraft, kAlternate };

// What the plain gadgets hold; the window writes them as the person edits.
struct InstanceDialogFields {
  std::string title;
  VersionOption version = VersionOption::kRelease;
  int version_index = -1;  // the drop-down list's selection; -1 for none
  bool auto_backup_saves = false;
  bool backup_before_update = false;
  LauncherOption launcher = LauncherOption::kInternal;
  std::string alt_launcher;
  bool auto_login = false;
  bool maximize = false;
  bool set_memory = false;
  std::string min_memory;  // digits as typed
  std::string max_memory;
  bool custom_java = false;
  std::string java_path;
};

class InstanceDialogModel {
 public:
  // What the dialog asks of the rest of the program while it is open: the flows that make a
  // mod or ask for a login, and the message box. The flow that opens the dialog binds them; a
  // missing one acts as cancelled or empty.
  struct Services {
    // The mod creation dialog; the new mod's folder, or "" when cancelled or failed.
    std::function<std::string()> new_mod;
    // Imports the file into the library; the new mod's folder, or "".
    std::function<std::string(const std::string& file)> import_mod;
    // Scans the library again and gives it in library order.
    std::function<ModList()> scan_mods;
    // The login dialog over the given credentials: how it ended (LoginDialog's result), with
    // the credentials entered unless cancelled.
    std::function<int(launch::Credentials&)> login;
    std::function<void(const std::string& title, const std::string& text)> show_message;
    // Where the icon requester starts while no icon file is chosen.
    std::string icon_folder;
  };

  // `version_files` are the stored jars in version-list order; `library` the mods in library
  // order.
  InstanceDialogModel(Instance& record, std::vector<std::string> version_files, ModList library,
                      Services services);

  InstanceDialogFields& fields() { return fields_; }
  const InstanceDialogFields& fields() const { return fields_; }
  const std::vector<std::string>& version_files() const { return version_files_; }
  // 48 x 48; none when the record had no image to show.
  const std::optional<image::Image>& preview() const { return preview_; }
  const std::string& chosen_icon_file() const { return chosen_icon_file_; }
  const std::string& stored_credentials() const { return stored_credentials_; }
  const std::string& offline_name() const { return offline_name_; }
  const ModRows& installed() const { return installed_; }
  const ModRows& available() const { return available_; }
  const ModList& library() const { return library_; }
  // Where the last right click or drag started: a row, -1 for none, -2 for a right click on
  // the available list.
  int remembered_row() const { return remembered_row_; }

  // General tab.
  void SelectVersion(int index);
  // The automatic-login box was clicked into `checked`; checking it asks for the login, and
  // "Play offline" there keeps the name to start offline with instead of the credentials.
  void ClickAutoLogin(bool checked);
  FileRequester LauncherFileRequester() const;
  void LauncherChosen(const std::string& file);
  FileRequester IconFileRequester() const;
  // Loads the file into the preview; a file that is no image is reported and changes nothing.
  void IconChosen(const std::string& file);

  // Java tab.
  FileRequester JavaFileRequester() const;
  void JavaChosen(const std::string& file);

  // Modification tab: selection, clicks, drags and drops.
  void SelectRow(ModListSide list, int row);
  void RightClick(ModListSide list);
  // Remembers the row the drag starts at; the kind of the drag.
  int StartDrag(ModListSide list);
  void DoubleClick(ModListSide list);
  void DropMod(ModListSide list, int kind);
  // The dropped files' names, one per line; only the first is imported.
  void DropFiles(ModListSide list, const std::string& names);
  // The popup's items; `file` is what the mod requester gave.
  void NewModFromMenu();
  FileRequester ModFileRequester() const { return ModRequester(); }
  void ImportModFromMenu(const std::string& file);

  // "OK": the edited values into the record, in a fixed order.
  void Confirm();

 private:
  void Fill(const std::vector<std::string>& dirs);
  // After a new or imported mod: rescan the library and fill from the scratch list, with
  // the new mod's folder added at `position`.
  void AddNewMod(const std::string& dir, int position);
  void MoveToInstalled(int from, int before);
  void MoveToAvailable(int from);
  void MoveWithinInstalled(int from, int target);
  std::string PinnedVersion() const;
  void ApplyIcon();

  Instance& record_;
  std::vector<std::string> version_files_;
  ModList library_;
  Services services_;
  InstanceDialogFields fields_;
  std::optional<image::Image> preview_;
  std::string chosen_icon_file_;
  std::string stored_credentials_;
  std::string offline_name_;  // at most one of the two is set
  ModRows installed_;
  ModRows available_;
  int remembered_row_ = -1;
  std::vector<std::string> scratch_;
};

}  // namespace oxlip::app

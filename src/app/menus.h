#pragma once
// The popup menus of the main window, as data: the GUI draws them, the core decides them.
#include <string>
#include <vector>

namespace oxlip::app {

// Command identifiers of the menu items.
enum CommandId : int {
  kCmdStart = 0,
  kCmdClone = 1,
  kCmdRepair = 2,
  kCmdDelete = 3,
  kCmdConfig = 4,
  kCmdInstanceName = 5,
  kCmdNewInstance = 6,
  kCmdImportOriginal = 7,
  kCmdOpenInstance = 8,
  kCmdOpenSaves = 9,
  kCmdOpenScreenshots = 10,
  kCmdOpenTexturepacks = 11,
  kCmdBackup = 12,
  kCmdBackupSaves = 13,
  kCmdStartAlternate = 14,
  kCmdImportAlternateMods = 15,
  kCmdDownloadBetas = 16,
  kCmdDowngrade = 17,
  kCmdReloadVersions = 18,
  kCmdDeleteVersion = 19,
  kCmdNewMod = 22,
  kCmdImportMod = 23,
  kCmdRenameMod = 24,
  kCmdDeleteMod = 25,
  kCmdOpenMod = 26,
  kCmdRestoreBackup = 27,
  kCmdShowGameLog = 28,
};

struct MenuItem {
  enum class Kind { kCommand, kSeparator, kSubmenu };
  Kind kind = Kind::kCommand;
  std::string text;
  int id = -1;
  bool enabled = true;
  std::vector<MenuItem> items;  // submenus only
};

using Menu = std::vector<MenuItem>;

enum class MenuKind {
  kInstance,
  kInstanceAlternate,
  kInstanceArea,
  kVersionList,
  kVersionRow,
  kModList,
  kModRow,
};

// The menu as built once at start-up; the instance menus' first item reads "----".
Menu BuildMenu(MenuKind kind);

// The instance menu as shown for one instance: its name as the disabled first item.
Menu InstanceMenuFor(const std::string& name, bool has_alternate_launcher);

}  // namespace oxlip::app

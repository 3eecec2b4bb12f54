#include "app/menus.h"

namespace oxlip::app {
namespace {

MenuItem Item(const char* text, int id) { return {MenuItem::Kind::kCommand, text, id, true, {}}; }
MenuItem Separator() { return {MenuItem::Kind::kSeparator, "", -1, true, {}}; }
MenuItem Sub(const char* text, std::vector<MenuItem> items) {
  return {MenuItem::Kind::kSubmenu, text, -1, true, std::move(items)};
}

Menu InstanceMenu(bool alternate) {
  Menu menu;
  menu.push_back({MenuItem::Kind::kCommand, "----", kCmdInstanceName, false, {}});
  menu.push_back(Item("Start", kCmdStart));
  if (alternate) menu.push_back(Item("Start with alternate", kCmdStartAlternate));
  menu.push_back(Item("Config", kCmdConfig));
  menu.push_back(Item("Show game log", kCmdShowGameLog));
  menu.push_back(Separator());
  if (alternate)
    menu.push_back(
        Sub("Mod", {Item("Import Mod-Settings from alternate", kCmdImportAlternateMods)}));
  menu.push_back(Sub("Backup", {Item("Backup", kCmdBackup)}));
  menu.push_back(Sub("Backup saves", {Item("Backup saves", kCmdBackupSaves)}));
  // Its list of backups is the second step that the submenus give the others.
  menu.push_back(Item("Restore backup", kCmdRestoreBackup));
  menu.push_back(Sub("Repair/update", {Item("Repair/Update", kCmdRepair)}));
  menu.push_back(Sub("Clone", {Item("Clone", kCmdClone)}));
  menu.push_back(Sub("Delete", {Item("Delete", kCmdDelete)}));
  menu.push_back(Separator());
  menu.push_back(
      Sub("Open in Explorer",
          {Item("Instance", kCmdOpenInstance), Item("Save", kCmdOpenSaves),
           Item("Screenshots", kCmdOpenScreenshots), Item("Texturepacks", kCmdOpenTexturepacks)}));
  return menu;
}

}  // namespace

Menu BuildMenu(MenuKind kind) {
  switch (kind) {
    case MenuKind::kInstance:
      return InstanceMenu(false);
    case MenuKind::kInstanceAlternate:
      return InstanceMenu(true);
    case MenuKind::kInstanceArea:
      return {Item("New instance", kCmdNewInstance),
              Item("Import from original", kCmdImportOriginal)};
    case MenuKind::kVersionList:
      return {Item("Reload List", kCmdReloadVersions), Separator(),
              Item("Download all Beta", kCmdDownloadBetas)};
    case MenuKind::kVersionRow:
      return {Item("Downgrade", kCmdDowngrade), Sub("Delete", {Item("Delete", kCmdDeleteVersion)})};
    case MenuKind::kModList:
      return {Item("New mod", kCmdNewMod), Item("Import mod", kCmdImportMod)};
    case MenuKind::kModRow:
      return {Item("Rename", kCmdRenameMod), Item("Open in Explorer", kCmdOpenMod),
              Sub("Delete", {Item("Delete", kCmdDeleteMod)})};
  }
  return {};
}

Menu InstanceMenuFor(const std::string& name, bool has_alternate_launcher) {
  Menu menu =
      BuildMenu(has_alternate_launcher ? MenuKind::kInstanceAlternate : MenuKind::kInstance);
  menu.front().text = name;
  return menu;
}

}  // namespace oxlip::app

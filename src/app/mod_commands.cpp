#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/import_mod.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "app/new_mod.h"
#include "app/not_trashed.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/trash.h"

namespace oxlip::app {
namespace {

// The mod of the remembered row; null when the list changed under it.
ModRecord* ModAtRow(AppState& state, int row) {
  if (row < 0 || row >= static_cast<int>(state.mods.size())) return nullptr;
  return &state.mods[static_cast<std::size_t>(row)];
}

// A Dir from the scan names one folder of ModDir; anything else is never deleted or opened.
bool IsModFolder(const std::string& dir) {
  return !dir.empty() && dir != "\\" && !platform::IsAbsolutePath(dir) &&
         !platform::HasParentPart(dir);
}

int Rescan(AppState& state, Ui& ui) {
  ScanMods(state.settings, state.versions, state.mods);
  ui.ListChanged(ListKind::kMods);
  return 1;
}

int Import(AppState& state, Ui& ui, const std::string& path) {
  ImportMod(state.settings, state.versions, ui, path);
  return Rescan(state, ui);
}

int NewModCommand(AppState& state, Ui& ui, const MenuSelection&) {
  NewMod(state.settings, state.versions, ui);
  return Rescan(state, ui);
}

int ImportModCommand(AppState& state, Ui& ui, const MenuSelection&) {
  std::string path = ui.OpenFileDialog("Oxlip - Import mod", "mod|*.zip;*.7z|all|*.*", 1);
  if (path.empty()) return 1;
  return Import(state, ui, path);
}

int DropModFile(AppState& state, Ui& ui, const MenuSelection& selection) {
  return Import(state, ui, selection.file);
}

int RenameMod(AppState& state, Ui& ui, const MenuSelection& selection) {
  ModRecord* mod = ModAtRow(state, selection.row);
  if (!mod) return 1;
  std::optional<std::string> name = ui.InputBox("Oxlip", "rename mod", mod->Name);
  if (!name || name->empty()) return 1;
  mod->Name = *name;
  WriteModIni(state.settings, *mod);
  ui.ListChanged(ListKind::kMods);
  return 1;
}

int OpenMod(AppState& state, Ui& ui, const MenuSelection& selection) {
  ModRecord* mod = ModAtRow(state, selection.row);
  if (mod && IsModFolder(mod->Dir)) ui.OpenFolder(state.settings.ModDir + mod->Dir);
  return 1;
}

int DeleteMod(AppState& state, Ui& ui, const MenuSelection& selection) {
  ModRecord* mod = ModAtRow(state, selection.row);
  if (!mod) return 1;
  // No question is asked; the trash lets a slip be undone.
  std::string folder = state.settings.ModDir + mod->Dir;
  if (IsModFolder(mod->Dir) && !platform::TrashOrDelete(folder))
    return ReportNotTrashed(ui, folder);
  state.mods.erase(state.mods.begin() + selection.row);
  ui.ListChanged(ListKind::kMods);
  return 1;
}

}  // namespace

void RegisterModCommands(CommandTable& table) {
  table.Register(kCmdNewMod, NewModCommand);
  table.Register(kCmdImportMod, ImportModCommand);
  table.Register(kCmdDropModFile, DropModFile);
  table.Register(kCmdRenameMod, RenameMod);
  table.Register(kCmdOpenMod, OpenMod);
  table.Register(kCmdDeleteMod, DeleteMod);
}

}  // namespace oxlip::app

#include "app/instance_dialog.h"

#include "app/import_mod.h"
#include "app/login_dialog.h"
#include "app/new_mod.h"
#include "mods/mod_library.h"

namespace oxlip::app {

InstanceDialogModel::Services DialogServices(app::AppState& state, app::Ui& ui) {
  InstanceDialogModel::Services s;
  s.new_mod = [&] { return NewMod(state.settings, state.versions, ui); };
  s.import_mod = [&](const std::string& file) {
    return ImportMod(state.settings, state.versions, ui, file);
  };
  s.scan_mods = [&] {
    ScanMods(state.settings, state.versions, state.mods);
    ui.ListChanged(app::ListKind::kMods);
    return state.mods;
  };
  s.login = [&](launch::Credentials& credentials) { return LoginDialog(ui, credentials); };
  s.show_message = [&](const std::string& title, const std::string& text) {
    ui.ShowMessage(title, text);
  };
  // Beside the default icon, where the icons of a data folder are kept, in its letter case.
  s.icon_folder = FolderOfFile(state.settings.DefaultIconFile);
  return s;
}

}  // namespace oxlip::app

namespace oxlip {

bool InstanceDialog(app::AppState& state, app::Ui& ui, Instance& record) {
  std::vector<std::string> version_files;
  for (const VersionEntry& entry : state.versions) version_files.push_back(entry.File);
  app::InstanceDialogModel model(record, std::move(version_files), state.mods,
                                 app::DialogServices(state, ui));
  if (!ui.RunInstanceDialog(model)) return false;
  model.Confirm();
  return true;
}

}  // namespace oxlip

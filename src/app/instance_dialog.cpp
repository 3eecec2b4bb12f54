#include "app/instance_dialog.h"

#include "app/dialog_services.h"
#include "instances/instance_dialog_model.h"
#include "mods/mod_library.h"

namespace oxlip::app {

instances::LibraryMods DialogLibrary(const ModList& mods) {
  instances::LibraryMods rows;
  rows.reserve(mods.size());
  for (const ModRecord& mod : mods) rows.push_back({mod.Dir, mod.Version, mod.Name, mod.SortKey});
  return rows;
}

instances::InstanceDialogServices DialogServices(AppState& state, Ui& ui) {
  instances::InstanceDialogServices s;
  s.new_mod = [&] { return DialogNewMod(state, ui); };
  s.import_mod = [&](const std::string& file) { return DialogImportMod(state, ui, file); };
  s.scan_mods = [&] {
    ScanMods(state.settings, state.versions, state.mods);
    ui.ListChanged(ListKind::kMods);
    return DialogLibrary(state.mods);
  };
  s.login = [&](instances::LoginCredentials& c) { return DialogLogin(state, ui, c); };
  s.encode_login = DialogEncodeLogin;
  s.decode_login = DialogDecodeLogin;
  s.show_message = [&](const std::string& title, const std::string& text) {
    ui.ShowMessage(title, text);
  };
  // Beside the default icon, where the icons of a data folder are kept, in its letter case.
  s.icon_folder = instances::FolderOfFile(state.settings.DefaultIconFile);
  return s;
}

}  // namespace oxlip::app

namespace oxlip {

bool InstanceDialog(AppState& state, Ui& ui, Instance& record) {
  std::vector<std::string> version_files;
  for (const VersionEntry& entry : state.versions) version_files.push_back(entry.File);
  instances::InstanceDialogModel model(record, std::move(version_files),
                                       app::DialogLibrary(state.mods),
                                       app::DialogServices(state, ui));
  if (!ui.RunInstanceDialog(model)) return false;
  model.Confirm();
  return true;
}

}  // namespace oxlip

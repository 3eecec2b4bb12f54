#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/menus.h"
#include "app/stampit.h"

namespace oxlip::app {

void RegisterStampCommand(CommandTable& table) {
  table.Register(kCmdImportAlternateMods,
                 [](AppState& state, Ui& ui, const MenuSelection& selection) {
                   if (selection.instance) stampit(ui, *selection.instance, state.settings);
                   return 1;  // stampit shows its own outcome
                 });
}

}  // namespace oxlip::app

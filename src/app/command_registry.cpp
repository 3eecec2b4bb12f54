#include "app/command_registry.h"

namespace oxlip::app {

void RegisterCommands(CommandTable& table) {
  RegisterInstanceCommands(table);
  RegisterInstanceBuildCommands(table);
  RegisterVersionCommands(table);
  RegisterModCommands(table);
  RegisterStampCommand(table);
  RegisterStartCommands(table);
  RegisterRestoreCommand(table);
  RegisterGameLogCommand(table);
}

}  // namespace oxlip::app

#pragma once
// Fills the command table with every menu and drop command of the main window.
#include "app/commands.h"

namespace oxlip::app {

void RegisterCommands(CommandTable& table);

// Each group registers its own commands.
void RegisterInstanceCommands(CommandTable& table);
void RegisterInstanceBuildCommands(CommandTable& table);
void RegisterVersionCommands(CommandTable& table);
void RegisterModCommands(CommandTable& table);
void RegisterStampCommand(CommandTable& table);
void RegisterStartCommands(CommandTable& table);
void RegisterRestoreCommand(CommandTable& table);
void RegisterGameLogCommand(CommandTable& table);

}  // namespace oxlip::app

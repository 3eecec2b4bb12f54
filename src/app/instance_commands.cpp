#include "app/command_registry.h"

namespace oxlip {

void RegisterInstanceCommands(CommandTable&) {}

}  // namespace oxlip

#include "app/command_registry.h"

namespace oxlip {

void RegisterVersionCommands(CommandTable&) {}

}  // namespace oxlip

#include "app/command_registry.h"

namespace oxlip {

void RegisterModCommands(CommandTable&) {}

}  // namespace oxlip

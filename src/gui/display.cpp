#include "gui/display.h"

#include "platform/env.h"

namespace oxlip::gui {

bool DisplayAvailable() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (!platform::GetEnvironment(name).empty()) return true;
  return false;
}

}  // namespace oxlip::gui

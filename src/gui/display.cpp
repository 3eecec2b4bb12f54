#include "gui/display.h"

#include <xcb/xcb.h>

#include "platform/env.h"

namespace oxlip::gui {
namespace {

// A named X display that does not answer (a stale remote session) counts as none.
bool XDisplayAnswers() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

}  // namespace

bool DisplayAvailable() {
  std::string platform = platform::GetEnvironment("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0) return true;
  if (!platform::GetEnvironment("DISPLAY").empty()) return XDisplayAnswers();
  return platform.empty() && !platform::GetEnvironment("WAYLAND_DISPLAY").empty();
}

}  // namespace oxlip::gui

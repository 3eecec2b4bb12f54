#pragma once
// Whether there is a display to open the window on.

namespace oxlip::gui {

// Whether a window can be shown: a display to connect to, or a Qt platform chosen outright
// (offscreen in tests).
bool DisplayAvailable();

}  // namespace oxlip::gui

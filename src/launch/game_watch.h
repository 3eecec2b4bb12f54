#pragma once
// How the game watch tells the game's window.
#include <string>

namespace oxlip::launch {

// The class a window must have: MCWINClass, but none for "SunAwtFrame", the Windows name of
// every Java frame, which no X11 window carries.
std::string ComparedWindowClass(const std::string& configured);

}  // namespace oxlip::launch

#pragma once
// Everything the program holds for the whole run; owned by main and passed by reference, so
// each test builds its own in its own folder.
#include "app/settings.h"

namespace oxlip {

struct AppState {
  GlobalSettings settings;
};

}  // namespace oxlip

#pragma once
// What an empty list of the main window says in its empty area, so that a first start on a
// fresh data folder explains itself instead of showing blank lists.
#include <string>

#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip::app {

// The text for `list` while it has no rows; "" when it needs none.
std::string EmptyListHint(const AppState& state, ListKind list);

}  // namespace oxlip::app

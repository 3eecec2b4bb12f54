#pragma once
// The user's own folders for program data and caches (the XDG base directories).
#include <string>

namespace oxlip::platform {

// $XDG_DATA_HOME, else $HOME/.local/share; with a separator at the end. "" when neither gives
// an absolute path (a relative value counts as unset).
std::string UserDataHome();
// $XDG_CACHE_HOME, else $HOME/.cache; as above.
std::string UserCacheHome();

}  // namespace oxlip::platform

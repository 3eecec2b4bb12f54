#include "app/empty_list_hint.h"

#include "platform/path.h"

namespace oxlip::app {
namespace {

// The host (and port) of a URL: what a person recognises in a message.
std::string HostOf(const std::string& url) {
  size_t scheme = url.find("://");
  size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  size_t end = url.find_first_of("/?#", start);
  std::string host = url.substr(start, end == std::string::npos ? end : end - start);
  size_t user = host.rfind('@');
  return user == std::string::npos ? host : host.substr(user + 1);
}

}  // namespace

std::string EmptyListHint(const AppState& state, ListKind list) {
  switch (list) {
    case ListKind::kInstances:
      return "No instances yet.\n\nRight-click here: \"New instance\" makes one, \"Import from "
             "original\" takes over the game folder of an old installation.";
    case ListKind::kVersions:
      if (!state.dates.download_unreached) return "";
      return "No game versions: the download host " + HostOf(state.settings.MCURL) +
             " could not be reached.\n\nPoint MCURL in " +
             platform::NativePath(state.settings.StartFolder + base::kSettingsFileName) +
             " at a mirror of the game files (oxlip-mirror serves one), or start oxlip with "
             "--data on a folder whose Oxlip.ini does. A game jar dropped here is stored too.";
    case ListKind::kMods:
      return "";
  }
  return "";
}

}  // namespace oxlip::app

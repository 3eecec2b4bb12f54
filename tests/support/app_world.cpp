#include "support/app_world.h"

#include "platform/fs.h"
#include "support/fixture_paths.h"

namespace oxlip::test {

AppWorld::AppWorld() {
  settings.ModDir = dir() + "mods/";
  settings.PatchDir = dir() + "downgrade/";
  platform::CreateFolder(settings.ModDir);
  platform::CreateFolder(settings.PatchDir);
  state.settings = settings;
}

void AppWorld::ServeGame(const std::vector<std::string>& options, const std::string& root) {
  StartMirror(options, root.empty() ? FixtureRoot() : root);
  state.settings.MCURL = settings.MCURL;
  state.settings.MCRESURL = settings.MCRESURL;
  state.settings.MCASSETSURL = settings.MCASSETSURL;
}

}  // namespace oxlip::test

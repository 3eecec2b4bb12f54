#pragma once
// The program's state over a test's own folders, with the fixture mirror as its servers.
#include "app/app_state.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"

namespace oxlip::test {

class AppWorld : public ServedBuckets {
 protected:
  AppWorld();
  // Serves the fixture game files (or `root`) and points the program's settings at them.
  void ServeGame(const std::vector<std::string>& options = {}, const std::string& root = "");

  app::AppState state;
  ScriptedUi ui;
};

}  // namespace oxlip::test

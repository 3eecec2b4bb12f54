#pragma once
// Everything the program holds for the whole run; owned by main and passed by reference, so
// each test builds its own in its own folder.
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/instance_icons.h"
#include "base/settings.h"
#include "instances/instance.h"
#include "instances/instance_icon.h"
#include "launch/running_game.h"
#include "mods/mod_library.h"
#include "versions/download_job.h"
#include "versions/release_dates.h"
#include "versions/remote_list.h"
#include "versions/version_entry.h"

namespace oxlip::app {

struct AppState {
  base::GlobalSettings settings;
  ModList mods;
  versions::RemoteFileList remote;
  versions::DownloadQueue downloads;
  // Records live here for the whole run; a deleted instance's record is released here.
  std::vector<std::unique_ptr<Instance>> instances;
  versions::VersionList versions;
  Instance edit;  // the spare record the create, clone, import and configure commands edit
  instances::DefaultIcon default_icon;
  versions::ReleaseDates dates;
  std::string java_path;     // FindJava's answer at start-up
  launch::RunningGame game;  // the game started last, watched between window events

  // The instance list in display order; each entry refers to a record of `instances`. This
  // order is what "sort.ini" receives.
  std::vector<Instance*> instance_list;
  MenuSelection selection;
  CommandTable commands;
  InstanceIconLoading icons;  // the own icons still being read after start
};

}  // namespace oxlip::app

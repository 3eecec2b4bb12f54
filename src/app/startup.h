#pragma once
// The program's start and end, around the window the GUI opens in between.
#include <string>

#include "app/app_state.h"
#include "app/ui.h"

namespace oxlip::app {

// What the program brings to its start besides the data folder it runs in.
struct StartFiles {
  std::string cache_folder;  // the default of CacheDir; "" for below the start folder
  std::string default_icon;  // the built-in default icon's bytes, for a data folder without one
};

// Before the window opens: settings read and folders made, the default icon written when its
// file is missing and loaded, the command table filled. False means the program must end at
// once.
bool StartUp(AppState& state, const StartFiles& files = {});

// Once the window is open: the version check, the stores and instances loaded and listed in
// "sort.ini" order, the start-up update. The window is told of every list it must draw. The
// icons of the rows out of view are still being read when it returns (DeliverInstanceIcons).
void FillLists(AppState& state, Ui& ui);

// After the window closed (its geometry already in the settings): icons still being read are
// given up, then "sort.ini" and "Oxlip.ini" are written.
void ShutDown(AppState& state);

// The instance records of InstancesDir, one per folder in directory order, each with its own
// icon still to be read.
void LoadInstances(AppState& state);
// Fills the instance list from the records in "sort.ini" order, then the rest.
void OrderInstances(AppState& state);

}  // namespace oxlip::app

#pragma once
// Which folder a run keeps its files in: the start folder of every other part of the program.
#include <optional>
#include <string>

namespace oxlip::base {

struct DataFolder {
  std::string folder;  // with a separator at the end
  std::string cache;   // the default of CacheDir; "" keeps it below `folder`
};

// `chosen` (a folder named on the command line, relative to the current folder) when given;
// else the current folder when it holds "Oxlip.ini" (portable use); else "oxlip" in the user's
// data folder, with the cache in the user's cache folder. Nothing when no folder can be named.
std::optional<DataFolder> ChooseDataFolder(const std::string& chosen, std::string* error);

// Makes the folder (with its parents, and the cache's parents) and makes it the current folder.
// Done once, before the settings are read: "Oxlip.ini" is found by its bare name.
bool EnterDataFolder(const DataFolder& place, std::string* error);

}  // namespace oxlip::base

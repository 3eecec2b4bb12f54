#pragma once
// The mod workspace: CacheDir + "testmod\" with the part for the game jar ("minecraft.jar\"),
// the part for the game folder ("root\" with bin, config, resources and mods) and "unused\".
#include <string>

#include "base/settings.h"
#include "mods/mod_library.h"

namespace oxlip {

namespace mods {

inline constexpr const char* kWorkspaceName = "testmod\\";
inline constexpr const char* kJarPart = "minecraft.jar\\";
inline constexpr const char* kRootPart = "root\\";
inline constexpr const char* kUnusedPart = "unused\\";

// CacheDir + "testmod\".
std::string WorkspaceFolder(const GlobalSettings& settings);

// Creates the workspace and its parts; folders that exist stay as they are.
void CreateWorkspaceFolders(const std::string& workspace);

}  // namespace mods

// Moves the contents of `source` into `target` (both ending with a separator), merging
// folders and replacing files of the same name. `source` stays, empty. Whatever cannot be
// moved stays in `source`; nothing is deleted that was not moved.
void MoveTree(const std::string& source, const std::string& target);

// Sorts an unpacked archive in `source` into the workspace: class files at the top make it
// all jar content; otherwise folders are recognised by their names (letter case ignored),
// zip files at the top go to "root\mods\" lower-cased, and the walk descends when nothing at
// a level was recognised. What is left goes to "unused\". `source` is left empty.
void SortModFiles(const std::string& source, const std::string& workspace);

// Packs the workspace into a new folder of ModDir ("minecraftjar.7z" and "root.7z", each only
// when its part holds a file), sets `Dir` and writes "mod.ini". 1 when both packings
// succeeded or were skipped; 0 with the last-error text set otherwise. Changes the current
// folder while it packs and sets the start folder back.
int CreateMod(const GlobalSettings& settings, ModRecord& record);

}  // namespace oxlip

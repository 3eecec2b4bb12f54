#pragma once
// The mod workspace: CacheDir + "testmod\" with the part for the game jar ("minecraft.jar\"),
// the part for the game folder ("root\" with bin, config, resources and mods) and "unused\".
#include <string>

#include "base/settings.h"

namespace oxlip::mods {

inline constexpr const char* kWorkspaceName = "testmod\\";
inline constexpr const char* kJarPart = "minecraft.jar\\";
inline constexpr const char* kRootPart = "root\\";
inline constexpr const char* kUnusedPart = "unused\\";

// CacheDir + "testmod\".
std::string WorkspaceFolder(const base::GlobalSettings& settings);

// Creates the workspace and its parts; folders that exist stay as they are.
void CreateWorkspaceFolders(const std::string& workspace);

}  // namespace oxlip::mods

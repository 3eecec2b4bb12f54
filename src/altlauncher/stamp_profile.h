#pragma once
// The work of a stamp, without the person: it may run on a worker thread and says what
// happened instead of showing it.
#include <string>

#include "base/progress.h"

namespace oxlip::altlauncher {

struct StampOutcome {
  enum class Kind {
    kPatched,  // `profile_name` was baked into the instance jar
    kFailed,   // `message` says why; the instance jar is unchanged
    kNothing,  // no active profile: nothing to show
  };
  Kind kind = Kind::kNothing;
  std::string message;
  std::string profile_name;
};

struct StampPaths {
  std::string game_folder;  // the instance's ".minecraft" folder, ending with a separator
  std::string staging;      // where the mods are unpacked, ending with a separator
};

// The game folder and staging folder of the instance in `folder` below `instances_dir`.
StampPaths StampPathsFor(const std::string& instances_dir, const std::string& folder,
                         const std::string& start_folder);

// Bakes the active Magic Launcher profile of the game folder into its "bin\minecraft.jar".
StampOutcome StampProfile(const StampPaths& paths, base::ProgressSink& progress);

}  // namespace oxlip::altlauncher

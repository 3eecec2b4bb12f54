#pragma once
// Where downgrade patches lie and what they lead to: "<source>#<target>.patch" in the patch
// folder, both names without their ".jar" ending.
#include <optional>
#include <string>

namespace oxlip::versions {

struct PatchChoice {
  std::string patch_path;   // patch folder + patch file name
  std::string target_file;  // the target jar's file name, with ".jar"
};

// The jar's file name without a ".jar" ending (of any case).
std::string JarStem(const std::string& jar_file);

// "<source stem>#<target stem>.patch".
std::string PatchFileName(const std::string& source_jar, const std::string& target_jar);

// The patch for the jar named `source_jar` (a file name) in `patch_folder`: the first, in name
// order, that is named the source's stem, "#", a target name and ".patch" (letters matched
// without regard to case, as the folder's file system on Windows does). A target name that is
// empty or holds a separator is not taken.
std::optional<PatchChoice> FindPatch(const std::string& patch_folder,
                                     const std::string& source_jar);

}  // namespace oxlip::versions

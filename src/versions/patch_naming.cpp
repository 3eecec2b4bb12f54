#include "versions/patch_naming.h"

#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/fs.h"

namespace oxlip::versions {
namespace {

constexpr std::string_view kPatchEnding = ".patch";

// The target stem of `patch_file` when it is a patch for `source_stem`; "" when it is not.
std::string TargetStem(const std::string& patch_file, const std::string& source_stem) {
  std::string prefix = source_stem + "#";
  if (patch_file.size() < prefix.size() + kPatchEnding.size() ||
      !platform::StartsWithNoCase(patch_file, prefix) ||
      !platform::EndsWithNoCase(patch_file, kPatchEnding))
    return "";
  std::string stem =
      patch_file.substr(prefix.size(), patch_file.size() - prefix.size() - kPatchEnding.size());
  // The target lands in the version store: its name may not lead anywhere else.
  if (stem.find_first_of("\\/") != std::string::npos) return "";
  return stem;
}

}  // namespace

std::string JarStem(const std::string& jar_file) {
  if (platform::EndsWithNoCase(jar_file, ".jar")) return jar_file.substr(0, jar_file.size() - 4);
  return jar_file;
}

std::string PatchFileName(const std::string& source_jar, const std::string& target_jar) {
  return JarStem(source_jar) + "#" + JarStem(target_jar) + std::string(kPatchEnding);
}

std::optional<PatchChoice> FindPatch(const std::string& patch_folder,
                                     const std::string& source_jar) {
  std::string source_stem = JarStem(source_jar);
  std::vector<platform::DirEntry> entries = platform::ListFolder(patch_folder);
  std::sort(
      entries.begin(), entries.end(),
      [](const platform::DirEntry& a, const platform::DirEntry& b) { return a.name < b.name; });
  for (const platform::DirEntry& entry : entries) {
    if (entry.is_folder) continue;
    std::string target_stem = TargetStem(entry.name, source_stem);
    if (!target_stem.empty()) return PatchChoice{patch_folder + entry.name, target_stem + ".jar"};
  }
  return std::nullopt;
}

}  // namespace oxlip::versions

#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "base/settings.h"
#include "base/ui.h"
#include "versions/version_entry.h"

namespace oxlip {

// Makes a mod of a zip or 7z archive: unpacked into CacheDir + "unzipped\" and sorted into
// the workspace behind the status window, checked in the mod dialog, then packed. The new
// mod's Dir, or "" when none was made. Another extension is ignored silently; an archive that
// cannot be unpacked, or would unpack to too much, is reported. Neither staging folder nor
// workspace is left behind.
std::string ImportMod(const GlobalSettings& settings, const VersionList& versions, Ui& ui,
                      const std::string& archive);

namespace mods {

// What one import may unpack: 100 times the archive's size (at least 64 MB), and never so much
// that less than 1 GB stays free on the disk.
struct UnpackLimit {
  std::uint64_t bytes = 0;
  bool by_disk = false;  // the free space, not the archive's size, sets the limit
};
UnpackLimit ImportUnpackLimit(std::uint64_t archive_size, std::optional<std::uint64_t> free_space);

// The proposed name: the file name without its folder and its last extension.
std::string ImportedModName(const std::string& archive);

}  // namespace mods

}  // namespace oxlip

#pragma once
// Which entries an extraction writes, and where.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "archive/command.h"

namespace oxlip::archive {

struct EntryInfo {
  std::string name;  // as stored
  bool folder = false;
  // A symbolic link is never made: it becomes a small file holding the target text, as the
  // archiver does on Windows, so no later move or pack can follow it out of the folder.
  bool link = false;
  std::string link_target;  // where the format keeps it apart from the entry's data (7z)
  std::time_t modified = 0;
  std::uint64_t size = 0;  // the bytes it unpacks to, as the archive says; 0 when unknown
};

enum class EntryAction { kSkip, kFolder, kFile };

struct PlannedEntry {
  EntryAction action = EntryAction::kSkip;
  std::string target;  // relative to the output folder, "/"-separated
};

// False with `error` set when the entry is hostile (its name would leave the output folder);
// such an archive is refused as a whole. An entry whose name names nothing is skipped.
bool PlanEntry(const Command& command, const EntryInfo& entry, PlannedEntry* plan,
               std::string* error);

// False when a name without wildcards covers none of the entries (it would extract nothing).
bool AllNamesFound(const Command& command, const std::vector<EntryInfo>& entries,
                   std::string* error);

}  // namespace oxlip::archive

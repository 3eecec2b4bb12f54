#include "archive/extract_plan.h"

#include <optional>

#include "archive/command_patterns.h"
#include "archive/entry_name.h"
#include "archive/name_pattern.h"

namespace oxlip::archive {
namespace {

bool Selected(const Command& command, const std::string& path) {
  std::vector<NamePattern> names = NamePatterns(command);
  return names.empty() || AnyCovers(names, path);
}

bool Excluded(const Command& command, const std::string& path) {
  return AnyCovers(ExclusionPatterns(command), path);
}

std::string LastPart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool PlanEntry(const Command& command, const EntryInfo& entry, PlannedEntry* plan,
               std::string* error) {
  *plan = PlannedEntry{};
  std::optional<std::string> path = SafeEntryPath(entry.name);
  if (!path) {
    *error = "unsafe entry name \"" + entry.name + "\"";
    return false;
  }
  if (path->empty() || !Selected(command, *path) || Excluded(command, *path)) return true;
  bool flat = command.letter == 'e';
  if (entry.folder && flat) return true;
  plan->target = flat ? LastPart(*path) : *path;
  plan->action = entry.folder ? EntryAction::kFolder : EntryAction::kFile;
  return true;
}

bool AllNamesFound(const Command& command, const std::vector<EntryInfo>& entries,
                   std::string* error) {
  for (const auto* list : {&command.names, &command.listed})
    for (const std::string& name : *list) {
      if (HasWildcard(name)) continue;
      NamePattern pattern(name, command.recurse);
      bool found = false;
      for (const EntryInfo& entry : entries) found = found || pattern.Covers(entry.name);
      if (!found) {
        *error = "not in the archive: " + name;
        return false;
      }
    }
  return true;
}

}  // namespace oxlip::archive

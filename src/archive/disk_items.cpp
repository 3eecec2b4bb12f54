#include "archive/disk_items.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "archive/command_patterns.h"
#include "archive/name_pattern.h"
#include "platform/path.h"
#include "platform/path_status.h"

namespace oxlip::archive {
namespace {

namespace fs = std::filesystem;

using platform::PathKind;

struct Collector {
  const Command& command;
  platform::PathStatus archive_status;
  std::vector<DiskItem>* items;
  // Names given twice (overlapping wildcards) add an item once; names that differ only in
  // letter case are two files.
  std::set<std::string> seen;

  std::vector<NamePattern> exclusions = ExclusionPatterns(command);

  bool Excluded(const std::string& name) const { return AnyCovers(exclusions, name); }

  // Adds one item; false when it is excluded, was seen, or is not a file or folder. A link is
  // neither stored nor followed: what it names could lie anywhere (a key, the whole disk).
  bool Add(const std::string& name, const std::string& disk, bool* is_folder) {
    if (name.empty() || Excluded(name)) return false;
    platform::PathStatus status = platform::LinkStatus(disk);
    if (status.kind != PathKind::kFile && status.kind != PathKind::kFolder) return false;
    if (platform::SameFile(status, archive_status)) return false;
    *is_folder = status.kind == PathKind::kFolder;
    if (!seen.insert(NormalName(name)).second) return false;
    items->push_back({name, disk, *is_folder, status.modified});
    return true;
  }

  static std::vector<std::string> Children(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec))
      names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void AddTree(const std::string& disk_folder, const std::string& prefix) {
    for (const std::string& child : Children(disk_folder)) {
      bool folder = false;
      if (Add(prefix + child, disk_folder + child, &folder) && folder)
        AddTree(disk_folder + child + "/", prefix + child + "/");
    }
  }

  // Wildcard `pattern` in `disk_folder`, at every depth below it when `deep`.
  void AddMatches(const std::string& disk_folder, const std::string& prefix,
                  const std::string& pattern, bool deep) {
    for (const std::string& child : Children(disk_folder)) {
      std::string disk = disk_folder + child, name = prefix + child;
      bool folder = false;
      if (WildcardMatch(pattern, child)) {
        if (Add(name, disk, &folder) && folder) AddTree(disk + "/", name + "/");
      } else if (deep && platform::LinkStatus(disk).kind == PathKind::kFolder && !Excluded(name)) {
        AddMatches(disk + "/", name + "/", pattern, deep);
      }
    }
  }

  bool AddName(const std::string& given, bool from_list, std::string* error);
};

// The name an item gets in the archive: the path as given, unless that would climb out.
std::string StoredName(const std::string& native) {
  if (platform::IsAbsolutePath(native) || platform::HasParentPart(native))
    return platform::FileNamePart(native);
  std::string out;
  for (const std::string& part : SplitParts(native)) out += (out.empty() ? "" : "/") + part;
  return out;
}

bool Collector::AddName(const std::string& given, bool from_list, std::string* error) {
  if (given.empty()) return true;
  std::string native = platform::NativePath(given);
  if (from_list) {
    while (native.size() > 1 && native.back() == '/') native.pop_back();
  } else if (platform::IsSeparator(given.back())) {
    std::string disk = command.OnDisk(native);
    if (!fs::is_directory(disk)) {
      *error = "no such folder: " + disk;
      return false;
    }
    AddTree(platform::WithTrailingSeparator(disk), "");
    return true;
  }
  std::string last = platform::FileNamePart(native);
  std::string folder = native.substr(0, native.size() - last.size());
  if (HasWildcard(last)) {
    std::string prefix = StoredName(folder);
    AddMatches(command.OnDisk(folder), prefix.empty() ? "" : prefix + "/", last, command.recurse);
    return true;
  }
  std::string disk = command.OnDisk(native);
  if (platform::LinkStatus(disk).kind == PathKind::kMissing) {
    *error = "no such file: " + disk;
    return false;
  }
  std::string name = StoredName(native);
  bool is_folder = false;
  if (Add(name, disk, &is_folder) && is_folder && (!from_list || command.recurse))
    AddTree(disk + "/", name + "/");
  return true;
}

}  // namespace

bool CollectDiskItems(const Command& command, const std::string& archive,
                      std::vector<DiskItem>* items, std::string* error) {
  Collector collector{
      command, platform::TargetStatus(archive), items, {}, ExclusionPatterns(command)};
  if (command.names.empty() && command.listed.empty()) return collector.AddName("*", false, error);
  for (const std::string& name : command.names)
    if (!collector.AddName(name, false, error)) return false;
  for (const std::string& name : command.listed)
    if (!collector.AddName(name, true, error)) return false;
  return true;
}

}  // namespace oxlip::archive

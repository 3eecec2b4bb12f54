#include "archive/disk_items.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "archive/command_patterns.h"
#include "archive/name_pattern.h"
#include "platform/path.h"

namespace oxlip::archive {
namespace {

namespace fs = std::filesystem;

struct Collector {
  const Command& command;
  struct stat archive_stat {};
  bool archive_exists = false;
  std::vector<DiskItem>* items;
  std::set<std::string> seen;  // folded names, so overlapping names add an item once

  std::vector<NamePattern> exclusions = ExclusionPatterns(command);

  bool Excluded(const std::string& name) const { return AnyCovers(exclusions, name); }

  bool IsArchive(const struct stat& st) const {
    return archive_exists && st.st_dev == archive_stat.st_dev && st.st_ino == archive_stat.st_ino;
  }

  // Adds one item; false when it is excluded, was seen, or is not a file or folder.
  bool Add(const std::string& name, const std::string& disk, bool* is_folder) {
    struct stat st;
    if (name.empty() || ::stat(disk.c_str(), &st) != 0 || Excluded(name) || IsArchive(st))
      return false;
    *is_folder = S_ISDIR(st.st_mode);
    if (!*is_folder && !S_ISREG(st.st_mode)) return false;
    if (!seen.insert(FoldedName(name)).second) return false;
    items->push_back({name, disk, *is_folder, st.st_mtime});
    return true;
  }

  // Links to folders are not followed, so a loop cannot make the walk endless.
  static bool IsFolderLink(const fs::path& path) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(path, ec)) && fs::is_directory(path, ec);
  }

  static std::vector<std::string> Children(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec))
      if (!IsFolderLink(it->path())) names.push_back(it->path().filename().string());
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
      } else if (deep && fs::is_directory(disk) && !Excluded(name)) {
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
    if (!fs::is_directory(native)) {
      *error = "no such folder: " + native;
      return false;
    }
    AddTree(platform::WithTrailingSeparator(native), "");
    return true;
  }
  std::string last = platform::FileNamePart(native);
  std::string folder = native.substr(0, native.size() - last.size());
  if (HasWildcard(last)) {
    std::string prefix = StoredName(folder);
    AddMatches(folder, prefix.empty() ? "" : prefix + "/", last, command.recurse);
    return true;
  }
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) {
    *error = "no such file: " + native;
    return false;
  }
  std::string name = StoredName(native);
  bool is_folder = false;
  if (Add(name, native, &is_folder) && is_folder && (!from_list || command.recurse))
    AddTree(native + "/", name + "/");
  return true;
}

}  // namespace

bool CollectDiskItems(const Command& command, const std::string& archive,
                      std::vector<DiskItem>* items, std::string* error) {
  Collector collector{command, {}, false, items, {}, ExclusionPatterns(command)};
  collector.archive_exists = ::stat(archive.c_str(), &collector.archive_stat) == 0;
  if (command.names.empty() && command.listed.empty()) return collector.AddName("*", false, error);
  for (const std::string& name : command.names)
    if (!collector.AddName(name, false, error)) return false;
  for (const std::string& name : command.listed)
    if (!collector.AddName(name, true, error)) return false;
  return true;
}

}  // namespace oxlip::archive

#include <algorithm>

#include "base/create_path.h"
#include "mods/mod_install.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {
namespace {

// No mod is nested this deep.
constexpr long kMaxDepth = 128;

// A file no record owns is the person's own (or the game's): it is kept below `originals`
// before a mod's file takes its place. False when that copy could not be made.
bool KeepOriginal(const std::string& to, const std::string& key, const std::string& originals) {
  std::string kept = originals + key;
  // A copy kept by an earlier installation is the older original.
  if (!platform::IsFile(to) || platform::Exists(kept)) return true;
  CreatePath(kept);
  return platform::CopyFile(to, kept);
}

void InstallFile(const std::string& from, const std::string& to, const std::string& key,
                 mods::PreviousInstall& previous, std::string& record, int overwrite,
                 const std::string* originals) {
  auto looked_up = previous.try_emplace(key, 0).first;
  int& state = looked_up->second;
  if (originals) {
    // Left as it is, and out of the map: no removal may take it for an installed file.
    if (state == 0 && !KeepOriginal(to, key, *originals)) {
      previous.erase(looked_up);
      return;
    }
    // An earlier installation's file that is not empty may hold a person's changes.
    if (state == 0 || overwrite == 1 || platform::FileSize(to) <= 0) platform::CopyFile(from, to);
  }
  record += key + "\r\n";
  state = 2;
}

// Without `originals` nothing is written: the record is only planned.
void Walk(const std::string& source, const std::string& target, const std::string& relative,
          mods::PreviousInstall& previous, std::string& record, int overwrite,
          const std::string* originals) {
  if (std::count(relative.begin(), relative.end(), '\\') > kMaxDepth) return;
  for (const platform::DirEntry& entry : platform::ListFolder(source + relative)) {
    std::string key = relative + entry.name;
    if (entry.kind == platform::PathKind::kFile) {
      InstallFile(source + key, target + key, key, previous, record, overwrite, originals);
      continue;
    }
    if (!entry.is_folder) continue;  // a link or a special file is never installed
    key += "\\";
    int& state = previous[key];
    // A folder that was there before and not put there by mods is never recorded, so no
    // removal takes it away.
    if (!platform::Exists(target + key) || state != 0) record += key + "\r\n";
    if (originals) platform::CreateFolder(target + key);
    state = 2;
    Walk(source, target, key, previous, record, 0, originals);
  }
}

}  // namespace

void InstallTree(const std::string& source, const std::string& target, const std::string& relative,
                 mods::PreviousInstall& previous, std::string& record, int overwrite,
                 const std::string& originals) {
  Walk(source, target, relative, previous, record, overwrite, &originals);
}

namespace mods {

std::string PlanInstallRecord(const std::string& source, const std::string& target,
                              PreviousInstall previous) {
  std::string record;
  Walk(source, target, "", previous, record, 0, nullptr);
  return record;
}

PreviousInstall ReadInstallRecord(const std::string& path) {
  PreviousInstall previous;
  std::optional<std::string> text = platform::ReadWholeFile(path);
  if (!text) return previous;
  std::size_t start = 0;
  while (start < text->size()) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && !platform::IsAbsolutePath(line) && !platform::HasParentPart(line))
      previous[line] = 1;
    start = end + 1;
  }
  return previous;
}

}  // namespace mods

}  // namespace oxlip

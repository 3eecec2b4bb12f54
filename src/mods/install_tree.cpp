#include <algorithm>

#include "mods/mod_install.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {
namespace {

// No mod is nested this deep.
constexpr long kMaxDepth = 128;

void InstallFile(const std::string& from, const std::string& to, const std::string& key,
                 PreviousInstall& previous, std::string& record, int overwrite) {
  int& state = previous[key];
  // An earlier installation's file that is not empty may hold a person's changes.
  if (state == 0 || overwrite == 1 || platform::FileSize(to) <= 0) platform::CopyFile(from, to);
  record += key + "\r\n";
  state = 2;
}

}  // namespace

void InstallTree(const std::string& source, const std::string& target, const std::string& relative,
                 PreviousInstall& previous, std::string& record, int overwrite) {
  if (std::count(relative.begin(), relative.end(), '\\') > kMaxDepth) return;
  for (const platform::DirEntry& entry : platform::ListFolder(source + relative)) {
    std::string key = relative + entry.name;
    if (entry.kind == platform::PathKind::kFile) {
      InstallFile(source + key, target + key, key, previous, record, overwrite);
      continue;
    }
    if (!entry.is_folder) continue;  // a link or a special file is never installed
    key += "\\";
    int& state = previous[key];
    // A folder that was there before and not put there by mods is never recorded, so no
    // removal takes it away.
    if (!platform::Exists(target + key) || state != 0) record += key + "\r\n";
    platform::CreateFolder(target + key);
    state = 2;
    InstallTree(source, target, key, previous, record, 0);
  }
}

namespace mods {

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

#include "versions/version_store.h"

#include <algorithm>
#include <optional>

#include "base/error_text.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "versions/class_version.h"
#include "versions/version_index.h"

namespace oxlip {
namespace {

bool IsJarName(const std::string& name) { return platform::EndsWithNoCase(name, ".jar"); }

VersionEntry ReadEntry(const base::GlobalSettings& settings, const versions::VersionIndex& index,
                       const platform::DirEntry& dir_entry, bool& changed) {
  VersionEntry entry{dir_entry.name, "", 0};
  auto known = index.find(dir_entry.name);
  // "[unknown]" is no answer: the jar may have been replaced under the same name since.
  if (known != index.end() && !known->second.first.empty() &&
      known->second.first != versions::kUnknownVersion) {
    entry.Version = known->second.first;
    entry.Date = known->second.second;
    return entry;
  }
  changed = true;
  platform::DateValue date = 0;
  entry.Version = GetMineCraftVersion(settings, settings.VersionsDir + dir_entry.name, date, 1);
  if (entry.Version.empty()) {
    entry.Version = versions::kUnknownVersion;
    date = dir_entry.modified;
  }
  entry.Date = date;
  return entry;
}

}  // namespace

int ScanVersions(const base::GlobalSettings& settings, versions::VersionList& versions) {
  versions.clear();
  std::string index_path = settings.VersionsDir + "ver.ini";
  std::optional<std::string> bytes = platform::ReadWholeFile(index_path);
  versions::VersionIndex index = versions::ParseVersionIndex(bytes ? *bytes : std::string());
  bool changed = !bytes;  // a missing index is made
  for (const platform::DirEntry& dir_entry : platform::ListFolder(settings.VersionsDir))
    if (!dir_entry.is_folder && IsJarName(dir_entry.name))
      versions.push_back(ReadEntry(settings, index, dir_entry, changed));
  if (changed) {
    std::string text;
    for (const VersionEntry& entry : versions)
      text += versions::VersionRecordBytes(entry.File, entry.Version, entry.Date);
    platform::ReplaceFileContents(index_path, text);
  }
  std::stable_sort(versions.begin(), versions.end(),
                   [](const VersionEntry& a, const VersionEntry& b) { return a.Date > b.Date; });
  return 1;
}

int SaveVersion(const std::string& path, platform::DateValue date) {
  std::string text = std::string("\x00\x0D", 2) + std::to_string(date) + "000";
  platform::Error error;
  if (!platform::ReplaceFileContents(path, text, &error)) {
    SetErrorText(base::WithReason("SaveVersion: Can't create version-file " + path, error.reason));
    return 0;
  }
  return 1;
}

}  // namespace oxlip

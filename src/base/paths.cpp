#include "base/paths.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {
namespace {

constexpr std::string_view kFolderNameChars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789[]()!.,-_#+";

// Symbolic links can make a tree endless; no real instance is nested this deep.
constexpr int kMaxTreeDepth = 128;

platform::DateValue NewestBelow(const std::string& folder, int depth) {
  platform::DateValue newest = 0;
  if (depth > kMaxTreeDepth) return newest;
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) {
    if (entry.name == "." || entry.name == "..") continue;
    platform::DateValue date =
        entry.is_folder ? NewestBelow(folder + entry.name + "\\", depth + 1) : entry.modified;
    newest = std::max(newest, date);
  }
  return newest;
}

bool HoldsFileBelow(const std::string& folder, int depth) {
  if (depth > kMaxTreeDepth) return false;
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) {
    if (entry.name == "." || entry.name == "..") continue;
    if (!entry.is_folder || HoldsFileBelow(folder + entry.name + "\\", depth + 1)) return true;
  }
  return false;
}

bool SafeKey(const std::string& key) {
  return !platform::IsAbsolutePath(key) && !platform::HasParentPart(key);
}

}  // namespace

std::string ToOemText(const std::string& text) { return text; }

void CreatePath(const std::string& path) {
  std::string copy = platform::RecordPath(path);
  for (size_t pos = copy.find('\\'); pos != std::string::npos; pos = copy.find('\\', pos + 1))
    if (pos > 0) platform::CreateFolder(copy.substr(0, pos));
}

std::string MakeFolderName(const std::string& title, const std::string& parent) {
  std::string tail = " - ";
  for (char c : title) tail += kFolderNameChars.find(c) != std::string_view::npos ? c : '_';
  for (platform::DateValue date = platform::NowDateValue();; ++date) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(date));
    std::string name = hex + tail;
    if (!platform::Exists(parent + name)) return name;
  }
}

void RemoveListedPaths(const std::string& base, const std::map<std::string, int>& paths,
                       int level_limit) {
  for (const auto& [key, level] : paths)
    if (!key.empty() && key.back() != '\\' && level <= level_limit && SafeKey(key))
      platform::DeleteFile(base + key);
  for (const auto& [key, level] : paths)
    if (!key.empty() && key.back() == '\\' && level <= level_limit && SafeKey(key) &&
        !oxlip::base::TreeHoldsFile(base + key))
      platform::DeleteTree(base + key);
}

platform::DateValue NewestFileDate(const std::string& folder) { return NewestBelow(folder, 0); }

}  // namespace oxlip

namespace oxlip::base {

std::string FromStartFolder(const std::string& start_folder, const std::string& path) {
  return platform::IsAbsolutePath(path) ? path : start_folder + path;
}

// Not the newest file date: a file dated 1970 or earlier is a file all the same.
bool TreeHoldsFile(const std::string& folder) { return HoldsFileBelow(folder, 0); }

}  // namespace oxlip::base

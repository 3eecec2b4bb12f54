#include "archive/entry_name.h"

#include <vector>

#include "archive/name_pattern.h"

namespace oxlip::archive {
namespace {

bool IsRooted(std::string_view name) {
  if (!name.empty() && (name[0] == '/' || name[0] == '\\')) return true;
  return name.size() >= 2 && name[1] == ':';  // a drive, also "C:name"
}

}  // namespace

std::optional<std::string> SafeEntryPath(std::string_view name) {
  if (IsRooted(name) || name.find('\0') != std::string_view::npos) return std::nullopt;
  std::string out;
  for (const std::string& part : SplitParts(name)) {
    if (part == "..") return std::nullopt;
    if (!out.empty()) out += '/';
    out += part;
  }
  if (out.empty()) return std::nullopt;
  return out;
}

bool LinkStaysInside(std::string_view link_path, std::string_view target) {
  if (target.empty() || IsRooted(target)) return false;
  std::vector<std::string> at = SplitParts(link_path);
  if (at.empty()) return false;
  at.pop_back();  // a link resolves from the folder that holds it
  // ".." only in front: those climb real folders (extraction never writes through a link),
  // while a ".." after another part might climb out of what an earlier link points at.
  bool descended = false;
  for (const std::string& part : SplitParts(target)) {
    if (part != "..") {
      descended = true;
    } else if (descended || at.empty()) {
      return false;
    } else {
      at.pop_back();
    }
  }
  return true;
}

}  // namespace oxlip::archive

#include "archive/entry_name.h"

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
  return out;
}

}  // namespace oxlip::archive

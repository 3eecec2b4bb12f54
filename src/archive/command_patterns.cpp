#include "archive/command_patterns.h"

namespace oxlip::archive {

std::vector<NamePattern> NamePatterns(const Command& command) {
  std::vector<NamePattern> patterns;
  for (const auto* list : {&command.names, &command.listed})
    for (const std::string& name : *list) patterns.emplace_back(name, command.recurse);
  return patterns;
}

std::vector<NamePattern> ExclusionPatterns(const Command& command) {
  std::vector<NamePattern> patterns;
  for (const Exclusion& ex : command.exclusions) patterns.emplace_back(ex.name, ex.any_depth);
  return patterns;
}

bool AnyCovers(const std::vector<NamePattern>& patterns, std::string_view path) {
  for (const NamePattern& pattern : patterns)
    if (pattern.Covers(path)) return true;
  return false;
}

}  // namespace oxlip::archive

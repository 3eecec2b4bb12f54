#pragma once
// The command's names and exclusions as patterns.
#include <string_view>
#include <vector>

#include "archive/command.h"
#include "archive/name_pattern.h"

namespace oxlip::archive {

// Names from the command line and the list files; with "-r" they match at any depth.
std::vector<NamePattern> NamePatterns(const Command& command);
std::vector<NamePattern> ExclusionPatterns(const Command& command);

bool AnyCovers(const std::vector<NamePattern>& patterns, std::string_view path);

}  // namespace oxlip::archive

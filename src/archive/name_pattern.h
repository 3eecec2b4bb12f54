#pragma once
// Names as the Windows archiver matches them: letter case ignored, "\" and "/" both separate
// folders, "*" and "?" are wildcards within one part.
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::archive {

// The parts between separators; empty and "." parts are dropped.
std::vector<std::string> SplitParts(std::string_view path);

// "*" any run of characters, "?" one character; letter case ignored.
bool WildcardMatch(std::string_view pattern, std::string_view name);

bool HasWildcard(std::string_view name);

// The path with "/" separators and its letter case kept: two names that differ only in case
// are two files on disk, and so two entries.
std::string NormalName(std::string_view path);

// NormalName in lower case, for names a person or a record gives.
std::string FoldedName(std::string_view path);

class NamePattern {
 public:
  // `any_depth`: the pattern may start at any folder level, not only at the top.
  NamePattern(std::string_view text, bool any_depth);

  // True when the path is the named item or lies below it.
  bool Covers(std::string_view path) const;

 private:
  bool CoversAt(const std::vector<std::string>& parts, size_t start) const;

  std::vector<std::string> parts_;
  bool any_depth_;
};

}  // namespace oxlip::archive

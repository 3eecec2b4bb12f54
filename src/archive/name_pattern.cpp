#include "archive/name_pattern.h"

#include "platform/ascii_case.h"

namespace oxlip::archive {

using platform::LowerAscii;

std::vector<std::string> SplitParts(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    if (!part.empty() && part != ".") parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

// Iterative matcher with one backtrack point: linear in practice, no recursion to blow up.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool HasWildcard(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

std::string NormalName(std::string_view path) {
  std::string out;
  for (const std::string& part : SplitParts(path)) out += (out.empty() ? "" : "/") + part;
  return out;
}

std::string FoldedName(std::string_view path) { return LowerAscii(NormalName(path)); }

NamePattern::NamePattern(std::string_view text, bool any_depth)
    : parts_(SplitParts(text)), any_depth_(any_depth) {}

bool NamePattern::Covers(std::string_view path) const {
  if (parts_.empty()) return false;
  std::vector<std::string> parts = SplitParts(path);
  if (!any_depth_) return CoversAt(parts, 0);
  for (size_t start = 0; start < parts.size(); ++start)
    if (CoversAt(parts, start)) return true;
  return false;
}

bool NamePattern::CoversAt(const std::vector<std::string>& parts, size_t start) const {
  if (parts.size() - start < parts_.size()) return false;
  for (size_t i = 0; i < parts_.size(); ++i)
    if (!WildcardMatch(parts_[i], parts[start + i])) return false;
  return true;
}

}  // namespace oxlip::archive

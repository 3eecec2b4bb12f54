#include "platform/path.h"

namespace oxlip::platform {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string NativePath(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (IsSeparator(c)) c = kNativeSeparator;
  return out;
}

std::string RecordPath(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string WithTrailingSeparator(std::string_view path) {
  std::string out(path);
  if (out.empty() || !IsSeparator(out.back())) out += kNativeSeparator;
  return out;
}

bool IsAbsolutePath(std::string_view path) {
  if (!path.empty() && IsSeparator(path[0])) return true;
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool HasParentPart(std::string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (path.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

std::string FileNamePart(std::string_view path) {
  size_t pos = path.find_last_of("/\\");
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

}  // namespace oxlip::platform

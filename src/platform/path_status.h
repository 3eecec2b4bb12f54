#pragma once
// What a path names, asked with or without following a link at its end.
#include <cstdint>
#include <ctime>
#include <string>

namespace oxlip::platform {

enum class PathKind { kMissing, kFile, kFolder, kLink, kOther };

struct PathStatus {
  PathKind kind = PathKind::kMissing;
  std::int64_t size = 0;
  std::time_t modified = 0;  // UTC seconds
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// A link at the end of `path` is reported as kLink, never followed.
PathStatus LinkStatus(const std::string& path);
// What a link at the end of `path` points at; kLink never results (a dangling link is missing).
PathStatus TargetStatus(const std::string& path);
// The kind a file mode (`st_mode`) stands for.
PathKind KindOfMode(unsigned mode);
// True when both exist and are one and the same file.
bool SameFile(const PathStatus& a, const PathStatus& b);

}  // namespace oxlip::platform

#include "platform/path_status.h"

#include <sys/stat.h>

#include "platform/path.h"

namespace oxlip::platform {
namespace {

PathStatus FromStat(int result, const struct stat& st) {
  PathStatus status;
  if (result != 0) return status;
  status.kind = KindOfMode(st.st_mode);
  status.size = st.st_size;
  status.modified = st.st_mtime;
  status.device = st.st_dev;
  status.inode = st.st_ino;
  return status;
}

}  // namespace

PathKind KindOfMode(unsigned mode) {
  return S_ISREG(mode)   ? PathKind::kFile
         : S_ISDIR(mode) ? PathKind::kFolder
         : S_ISLNK(mode) ? PathKind::kLink
                         : PathKind::kOther;
}

PathStatus LinkStatus(const std::string& path) {
  struct stat st;
  int result = ::lstat(NativePath(path).c_str(), &st);
  return FromStat(result, st);
}

PathStatus TargetStatus(const std::string& path) {
  struct stat st;
  int result = ::stat(NativePath(path).c_str(), &st);
  return FromStat(result, st);
}

bool SameFile(const PathStatus& a, const PathStatus& b) {
  return a.kind != PathKind::kMissing && b.kind != PathKind::kMissing && a.device == b.device &&
         a.inode == b.inode;
}

}  // namespace oxlip::platform

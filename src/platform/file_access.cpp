#include "platform/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/path.h"

namespace oxlip::platform {

FileAccess ProbeFileAccess(const std::string& path) {
  std::string native = NativePath(path);
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) return FileAccess::kMissing;
  if ((st.st_mode & 0222) == 0 || ::access(native.c_str(), W_OK) != 0) return FileAccess::kReadOnly;
  return FileAccess::kWritable;
}

std::string ResolveLinks(const std::string& path) {
  std::string native = NativePath(path);
  char* resolved = ::realpath(native.c_str(), nullptr);
  if (!resolved) return native;
  std::string out = resolved;
  std::free(resolved);
  return out;
}

}  // namespace oxlip::platform

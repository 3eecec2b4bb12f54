#include "platform/disk_space.h"

#include <sys/statvfs.h>

#include "platform/path.h"

namespace oxlip::platform {

std::optional<std::uint64_t> FreeDiskSpace(const std::string& path) {
  struct statvfs st;
  if (::statvfs(NativePath(path).c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
}

}  // namespace oxlip::platform

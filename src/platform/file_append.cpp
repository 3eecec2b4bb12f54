#include "platform/file_append.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/path.h"

namespace oxlip::platform {

bool CreateFileIfMissing(const std::string& path, Error* error) {
  int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(error, "create", path, errno);
  return ::close(fd) == 0 || Fail(error, "create", path, errno);
}

bool AppendToFile(const std::string& path, const std::string& data, Error* error) {
  int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(error, "create", path, errno);
  bool ok = true;
  for (size_t done = 0; ok && done < data.size();) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0 || Fail(error, "write", path, n < 0 ? errno : EIO);
    if (ok) done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0 && ok) ok = Fail(error, "write", path, errno);
  return ok;
}

}  // namespace oxlip::platform

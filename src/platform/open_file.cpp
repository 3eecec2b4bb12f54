#include "platform/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fd_io.h"
#include "platform/path.h"

namespace oxlip::platform {

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::Open(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  path_ = path;
  fd_ = ::open(NativePath(path).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st;
  int code = fd_ < 0 || ::fstat(fd_, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (code == 0) return true;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  return Fail(&error_, "read", path, code);
}

std::int64_t InputFile::Read(char* data, std::size_t size) {
  if (fd_ < 0) return -1;
  std::int64_t got = ReadSome(fd_, data, size);
  if (got < 0) Fail(&error_, "read", path_, errno);
  return got;
}

NewFile::~NewFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool NewFile::Create(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  path_ = path;
  fd_ =
      ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  return fd_ >= 0 || Fail(&error_, "create", path, errno);
}

bool NewFile::Write(const char* data, std::size_t size) {
  return fd_ >= 0 && (WriteAll(fd_, data, size) || Fail(&error_, "write", path_, errno));
}

bool NewFile::SetModified(std::time_t utc) {
  struct timespec times[2] = {{utc, 0}, {utc, 0}};
  return fd_ >= 0 &&
         (::futimens(fd_, times) == 0 || Fail(&error_, "set the time of", path_, errno));
}

bool NewFile::Close() {
  int fd = fd_;
  fd_ = -1;
  return fd >= 0 && (::close(fd) == 0 || Fail(&error_, "write", path_, errno));
}

}  // namespace oxlip::platform

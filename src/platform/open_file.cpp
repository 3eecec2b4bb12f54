#include "platform/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fd_io.h"
#include "platform/path.h"

namespace oxlip::platform {

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::Open(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(NativePath(path).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st;
  if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && !S_ISDIR(st.st_mode)) return true;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  return false;
}

std::int64_t InputFile::Read(char* data, std::size_t size) {
  return fd_ < 0 ? -1 : ReadSome(fd_, data, size);
}

NewFile::~NewFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool NewFile::Create(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  fd_ =
      ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  return fd_ >= 0;
}

bool NewFile::Write(const char* data, std::size_t size) {
  return fd_ >= 0 && WriteAll(fd_, data, size);
}

bool NewFile::SetModified(std::time_t utc) {
  struct timespec times[2] = {{utc, 0}, {utc, 0}};
  return fd_ >= 0 && ::futimens(fd_, times) == 0;
}

bool NewFile::Close() {
  int fd = fd_;
  fd_ = -1;
  return fd >= 0 && ::close(fd) == 0;
}

}  // namespace oxlip::platform

#include "platform/random_access_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::platform {

RandomAccessFile::~RandomAccessFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool RandomAccessFile::Create(const std::string& path) {
  Close();
  path_ = path;
  fd_ = ::open(NativePath(path).c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  end_ = 0;
  return fd_ >= 0 || Fail(&error_, "create", path, errno);
}

bool RandomAccessFile::CreateScratch(const std::string& beside) {
  std::string path = NativePath(TemporaryNameBeside(beside));
  if (!Create(path)) return false;
  ::unlink(path.c_str());
  return true;
}

bool RandomAccessFile::OpenForReading(const std::string& path) {
  Close();
  path_ = path;
  fd_ = ::open(NativePath(path).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st;
  int code = fd_ < 0 || ::fstat(fd_, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
  if (code == 0) {
    end_ = st.st_size;
    return true;
  }
  Close();
  return Fail(&error_, "read", path, code);
}

bool RandomAccessFile::Write(const char* data, std::size_t size) {
  return WriteAt(end_, data, size);
}

bool RandomAccessFile::WriteAt(std::int64_t offset, const char* data, std::size_t size) {
  if (fd_ < 0 || offset < 0) return false;
  std::int64_t at = offset;
  while (size > 0) {
    ssize_t n = ::pwrite(fd_, data, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(&error_, "write", path_, n < 0 ? errno : EIO);
    data += n;
    at += n;
    size -= static_cast<std::size_t>(n);
  }
  end_ = std::max(end_, at);
  return true;
}

std::int64_t RandomAccessFile::ReadAt(std::int64_t offset, char* data, std::size_t size) {
  if (fd_ < 0 || offset < 0) return -1;
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::pread(fd_, data + done, size - done, offset + static_cast<std::int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail(&error_, "read", path_, errno);
      return -1;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<std::int64_t>(done);
}

bool RandomAccessFile::Close() {
  int fd = fd_;
  fd_ = -1;
  end_ = 0;
  return fd >= 0 && (::close(fd) == 0 || Fail(&error_, "write", path_, errno));
}

}  // namespace oxlip::platform

#include "platform/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fd_io.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

// An unnamed file can only be named through its /proc entry (without special rights).
bool CanNameUnnamedFiles() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0;
  return can;
}

std::string FolderOf(const std::string& native) {
  std::size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

// `from` under the name `to` as well, over whatever has that name: at once where the name is
// free, else under a temporary name that is then renamed over it.
bool Link(const std::string& from, int flags, const std::string& to) {
  if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags) == 0) return true;
  if (errno != EEXIST) return false;
  std::string temp = TemporaryNameBeside(to);
  if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, temp.c_str(), flags) != 0) return false;
  bool ok = ::rename(temp.c_str(), to.c_str()) == 0;
  // Where the name already was this file, rename does nothing and the temporary name stays.
  ::unlink(temp.c_str());
  return ok;
}

}  // namespace

PendingFile::~PendingFile() { Close(); }

bool PendingFile::Create(const std::string& path) {
  Close();
  published_.clear();
  std::string native = NativePath(path);
  if (CanNameUnnamedFiles()) {
    fd_ = ::open(FolderOf(native).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (fd_ >= 0) return true;
  }
  // File systems without unnamed files: a temporary name beside the target.
  temp_ = TemporaryNameBeside(native);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd_ >= 0) return true;
  temp_.clear();
  return Fail(&error_, "create", native, errno);
}

bool PendingFile::Write(const char* data, std::size_t size) {
  if (fd_ >= 0 && WriteAll(fd_, data, size)) return true;
  return Fail(&error_, "write", temp_, fd_ >= 0 ? errno : EBADF);
}

bool PendingFile::SetModified(std::time_t utc) {
  struct timespec times[2] = {{utc, 0}, {utc, 0}};
  return fd_ >= 0 && ::futimens(fd_, times) == 0;
}

bool PendingFile::Publish(const std::string& path) {
  std::string native = NativePath(path);
  if (!published_.empty()) return Link(published_, 0, native);
  bool ok = false;
  if (!temp_.empty()) {
    // Closed first, so that a failed write that a file system reports only at the close
    // (network file systems) keeps the file from taking the name.
    int fd = fd_;
    fd_ = -1;
    ok = ::close(fd) == 0 && ::rename(temp_.c_str(), native.c_str()) == 0;
    if (!ok) ::unlink(temp_.c_str());
    temp_.clear();
  } else if (fd_ >= 0) {
    ok = Link("/proc/self/fd/" + std::to_string(fd_), AT_SYMLINK_FOLLOW, native);
  }
  if (!ok) return Fail(&error_, "write", native, errno);
  published_ = native;
  return true;
}

bool PendingFile::Close() {
  bool ok = fd_ < 0 ? !published_.empty() : ::close(fd_) == 0;
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());  // never published
  temp_.clear();
  return ok;
}

}  // namespace oxlip::platform

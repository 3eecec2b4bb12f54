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

}  // namespace

PendingFile::~PendingFile() {
  if (fd_ >= 0) Close();
}

bool PendingFile::Create(const std::string& path) {
  if (fd_ >= 0) Close();
  published_ = false;
  temp_.clear();
  std::string native = NativePath(path);
  if (CanNameUnnamedFiles()) {
    fd_ = ::open(FolderOf(native).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (fd_ >= 0) return true;
  }
  // File systems without unnamed files: a temporary name beside the target.
  temp_ = TemporaryNameBeside(native);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd_ < 0) temp_.clear();
  return fd_ >= 0;
}

bool PendingFile::Write(const char* data, std::size_t size) {
  return fd_ >= 0 && WriteAll(fd_, data, size);
}

bool PendingFile::SetModified(std::time_t utc) {
  struct timespec times[2] = {{utc, 0}, {utc, 0}};
  return fd_ >= 0 && ::futimens(fd_, times) == 0;
}

bool PendingFile::LinkTo(const std::string& path) {
  std::string self = "/proc/self/fd/" + std::to_string(fd_);
  std::string native = NativePath(path);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, native.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return true;
  if (errno != EEXIST) return false;
  // Something has the name: a second temporary name, renamed over it.
  std::string temp = TemporaryNameBeside(native);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0)
    return false;
  bool ok = ::rename(temp.c_str(), native.c_str()) == 0;
  // Where the name already was this file, rename does nothing and the temporary name stays.
  ::unlink(temp.c_str());
  return ok;
}

bool PendingFile::Publish(const std::string& path) {
  if (fd_ < 0) return false;
  bool ok = false;
  if (!published_ && !temp_.empty()) {
    ok = ::rename(temp_.c_str(), NativePath(path).c_str()) == 0;
    if (ok) temp_.clear();
  } else {
    ok = CanNameUnnamedFiles() && LinkTo(path);
  }
  published_ = published_ || ok;
  return ok;
}

bool PendingFile::Close() {
  if (fd_ < 0) return false;
  bool ok = ::close(fd_) == 0;
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());  // never published
  temp_.clear();
  return ok;
}

}  // namespace oxlip::platform

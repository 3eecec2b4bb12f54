// CopyFile and CopyTree: streamed in the kernel where it can, keeping the source's times.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/fd_io.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace fs = std::filesystem;

namespace oxlip::platform {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Copies bytes from one open file to another at the same offsets: in the kernel while it
// accepts these two files, else through a buffer of fixed size.
class RangeCopier {
 public:
  RangeCopier(int from, int to) : from_(from), to_(to) {}

  bool Copy(off_t offset, off_t end) {
    while (offset < end && kernel_) {
      loff_t in = offset, out = offset;
      ssize_t n = ::copy_file_range(from_, &in, to_, &out, static_cast<size_t>(end - offset), 0);
      if (n > 0) {
        offset += n;
      } else if (n == 0) {
        kernel_ = false;  // the source got shorter, or a file system that says 0 for "can't"
      } else if (errno != EINTR) {
        // Other file systems, old kernels, special files: the buffer does it.
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL &&
            errno != EPERM)
          return false;
        kernel_ = false;
      }
    }
    return ThroughBuffer(offset, end);
  }

  // Whatever follows `offset` up to the end of the file, however long it turns out to be.
  bool CopyRest(off_t offset) { return ThroughBuffer(offset, -1); }

 private:
  bool ThroughBuffer(off_t offset, off_t end) {
    if (buffer_.empty()) buffer_.resize(1 << 20);
    while (end < 0 || offset < end) {
      size_t want = buffer_.size();
      if (end >= 0 && static_cast<off_t>(want) > end - offset) want = end - offset;
      ssize_t n = ::pread(from_, buffer_.data(), want, offset);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      for (ssize_t done = 0; done < n;) {
        ssize_t w = ::pwrite(to_, buffer_.data() + done, n - done, offset + done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += w;
      }
      offset += n;
    }
    return true;
  }

  int from_, to_;
  bool kernel_ = true;
  std::vector<char> buffer_;
};

// Holes stay holes: only the parts that hold data are copied, then the size is set.
bool CopyContents(int from, int to, off_t size) {
  // A file system that shares blocks between files (btrfs, xfs) copies nothing at all.
  if (::ioctl(to, FICLONE, from) == 0) return true;
  RangeCopier copier(from, to);
  off_t offset = 0;
  while (offset < size) {
    off_t data = ::lseek(from, offset, SEEK_DATA);
    if (data < 0 && errno == ENXIO) break;  // only a hole is left
    off_t hole = data < 0 ? size : ::lseek(from, data, SEEK_HOLE);
    if (data < 0) data = offset;  // no hole finding here: all of it is data
    if (hole < 0 || hole > size) hole = size;
    if (!copier.Copy(data, hole)) return false;
    offset = hole;
  }
  // A file written to meanwhile: never padded with zeros to the length it had at the start.
  struct stat now;
  if (::fstat(from, &now) != 0) return false;
  off_t end = std::min(size, now.st_size);
  return ::ftruncate(to, end) == 0 && copier.CopyRest(end);
}

bool CopyTimes(const struct stat& from, int to) {
  struct timespec times[2] = {from.st_atim, from.st_mtim};
  return ::futimens(to, times) == 0;
}

bool CopyFolderTimes(const fs::path& from, const fs::path& to) {
  struct stat st;
  if (::stat(from.c_str(), &st) != 0) return false;
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  return ::utimensat(AT_FDCWD, to.c_str(), times, 0) == 0;
}

// Into a fresh temporary file beside the target, which replaces the target when complete.
bool CopyInto(int from, const struct stat& st, const std::string& to) {
  std::string temp = TemporaryNameBeside(to);
  Descriptor out(
      ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, (st.st_mode & 0777) | S_IWUSR));
  if (out.get() < 0) return false;
  bool ok = CopyContents(from, out.get(), st.st_size) && CopyTimes(st, out.get());
  ok = out.Close() && ok;
  if (ok && ::rename(temp.c_str(), to.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

bool CopyFolder(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  fs::create_directories(target, ec);
  if (!fs::is_directory(target, ec)) return false;
  for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
    fs::path dest = target / it->path().filename();
    // A link to a folder is not followed (a loop would never end): an empty folder stands in.
    if (it->is_symlink(ec) && it->is_directory(ec)) {
      fs::create_directories(dest, ec);
      if (!fs::is_directory(dest, ec)) return false;
    } else if (it->is_directory(ec)) {
      if (!CopyFolder(it->path(), dest)) return false;
    } else if (!CopyFile(it->path().string(), dest.string())) {
      return false;
    }
  }
  // Last, as writing into the folder changed its time.
  return !ec && CopyFolderTimes(source, target);
}

}  // namespace

bool CopyFile(const std::string& from, const std::string& to) {
  Descriptor in(::open(NativePath(from).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st;
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return CopyInto(in.get(), st, NativePath(to));
}

bool CopyTree(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::path source = fs::path(NativePath(from)), target = fs::path(NativePath(to));
  if (!fs::is_directory(source, ec)) return false;
  return CopyFolder(source, target);
}

bool MoveFile(const std::string& from, const std::string& to) {
  if (RenameFile(from, to)) return true;
  if (errno != EXDEV || !IsFile(from) || Exists(to)) return false;
  return CopyFile(from, to) && DeleteFile(from);
}

}  // namespace oxlip::platform

// CopyFile and CopyTree: streamed in the kernel where it can, keeping the source's times.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "platform/fd_io.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/path_status.h"

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

bool CopyFolderTimes(const std::string& from, const std::string& to) {
  struct stat st;
  if (::stat(from.c_str(), &st) != 0) return false;
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  return ::utimensat(AT_FDCWD, to.c_str(), times, 0) == 0;
}

// Into a fresh temporary file beside the target, which replaces the target when complete.
bool CopyInto(int from, const struct stat& st, const std::string& source, const std::string& to,
              Error* error) {
  std::string temp = TemporaryNameBeside(to);
  Descriptor out(
      ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, (st.st_mode & 0777) | S_IWUSR));
  if (out.get() < 0) return Fail(error, "create", to, errno);
  bool ok = (CopyContents(from, out.get(), st.st_size) && CopyTimes(st, out.get())) ||
            Fail(error, "copy", source, errno);
  if (!out.Close() && ok) ok = Fail(error, "write", to, errno);
  if (ok && ::rename(temp.c_str(), to.c_str()) == 0) return true;
  if (ok) Fail(error, "replace", to, errno);
  ::unlink(temp.c_str());
  return false;
}

// One walk of CopyTree. The folders it is in, on both sides, are kept by identity: a link, or a
// bind mount, that leads back into one of them is a loop and is left out.
class TreeCopier {
 public:
  TreeCopier(FollowLinks links, std::vector<std::string>* skipped, Error* error,
             const std::function<bool()>& go_on)
      : links_(links), skipped_(skipped), error_(error), go_on_(go_on) {}

  // Both folders end with "/"; `below` is the source's path below the top ("" or ending in "/").
  bool Folder(const std::string& source, const std::string& target, const std::string& below) {
    std::error_code ec;
    fs::create_directories(target, ec);
    struct stat from, to;
    if (::stat(source.c_str(), &from) != 0) return Fail(error_, "read", source, errno);
    if (::stat(target.c_str(), &to) != 0 || !S_ISDIR(to.st_mode))
      return Fail(error_, "create", target, ec ? ec.value() : ENOTDIR);
    inside_.insert({from.st_dev, from.st_ino});
    inside_.insert({to.st_dev, to.st_ino});
    bool ok = Entries(source, target, below);
    inside_.erase({from.st_dev, from.st_ino});
    inside_.erase({to.st_dev, to.st_ino});
    // Last, as writing into the folder changed its time.
    return ok &&
           (CopyFolderTimes(source, target) || Fail(error_, "set the time of", target, errno));
  }

 private:
  bool Entries(const std::string& source, const std::string& target, const std::string& below) {
    Error listing;
    std::vector<DirEntry> entries = ListFolder(source, &listing);
    if (listing) {
      if (error_) *error_ = listing;
      return false;
    }
    for (const DirEntry& entry : entries) {
      std::string from = source + entry.name, to = target + entry.name;
      PathStatus named = entry.kind == PathKind::kLink && links_ == FollowLinks::kGuarded
                             ? TargetStatus(from)  // kMissing when the link is broken
                             : LinkStatus(from);
      bool ok = true;
      if (named.kind == PathKind::kFolder && !inside_.count({named.device, named.inode}))
        ok = Folder(from + "/", to + "/", below + entry.name + "/");
      else if (named.kind == PathKind::kFile)
        ok = (!go_on_ || go_on_()) && CopyFile(from, to, error_);
      else if (skipped_)
        skipped_->push_back(below + entry.name);
      if (!ok) return false;
    }
    return true;
  }

  FollowLinks links_;
  std::vector<std::string>* skipped_;
  Error* error_;
  const std::function<bool()>& go_on_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> inside_;
};

}  // namespace

bool CopyFile(const std::string& from, const std::string& to, Error* error) {
  std::string native = NativePath(from);
  // Asked before opening: a FIFO would wait for a writer, a device might act on the opening.
  struct stat named;
  if (::stat(native.c_str(), &named) != 0) return Fail(error, "read", native, errno);
  if (!S_ISREG(named.st_mode))
    return Fail(error, "copy", native, S_ISDIR(named.st_mode) ? EISDIR : EINVAL);
  // Not blocking either, should a FIFO have taken the file's place since.
  Descriptor in(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st;
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0) return Fail(error, "read", native, errno);
  if (!S_ISREG(st.st_mode)) return Fail(error, "copy", native, EINVAL);
  return CopyInto(in.get(), st, native, NativePath(to), error);
}

bool CopyTree(const std::string& from, const std::string& to, FollowLinks links,
              std::vector<std::string>* skipped, Error* error, const std::function<bool()>& go_on) {
  if (from.empty() || to.empty()) return Fail(error, "copy", from, ENOENT);
  std::string source = WithTrailingSeparator(NativePath(from));
  PathKind kind = TargetStatus(source).kind;
  if (kind != PathKind::kFolder)
    return Fail(error, "copy", source, kind == PathKind::kMissing ? ENOENT : ENOTDIR);
  return TreeCopier(links, skipped, error, go_on)
      .Folder(source, WithTrailingSeparator(NativePath(to)), "");
}

bool MoveFile(const std::string& from, const std::string& to, Error* error) {
  Error renaming;
  if (RenameFile(from, to, &renaming)) return true;
  if (renaming.code != EXDEV || !IsFile(from) || Exists(to)) {
    if (error) *error = renaming;
    return false;
  }
  return CopyFile(from, to, error) && DeleteFile(from, error);
}

}  // namespace oxlip::platform

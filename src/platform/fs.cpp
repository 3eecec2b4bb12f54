#include "platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/fd_io.h"
#include "platform/path.h"

namespace fs = std::filesystem;

namespace oxlip::platform {
namespace {

fs::path Native(const std::string& path) { return fs::path(NativePath(path)); }

std::string StripTrailing(std::string path) {
  while (path.size() > 1 && (path.back() == ' ' || IsSeparator(path.back()))) path.pop_back();
  return path;
}

// Writes `data` to a fresh temporary file beside `path` with the given mode, on the disk
// itself when `flush`; its name, or "" with the reason in `error` (which names `path`).
std::string WriteTemporary(const std::string& path, const std::string& data, mode_t mode,
                           bool flush, Error* error) {
  std::string temp = TemporaryNameBeside(path);
  int fd = ::open(NativePath(temp).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    Fail(error, "create", path, errno);
    return "";
  }
  bool ok = WriteAll(fd, data.data(), data.size()) && (!flush || ::fsync(fd) == 0);
  if (!ok) Fail(error, "write", path, errno);
  if (::close(fd) != 0 && ok) ok = Fail(error, "write", path, errno);
  if (!ok) {
    ::unlink(NativePath(temp).c_str());
    return "";
  }
  return temp;
}

bool MakeWritableTree(const fs::path& path) {
  std::error_code ec;
  // A link's target lies outside the tree being deleted and keeps its rights.
  if (fs::is_symlink(fs::symlink_status(path, ec))) return true;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
  if (fs::is_directory(fs::symlink_status(path, ec)))
    for (const auto& entry : fs::directory_iterator(path, ec)) MakeWritableTree(entry.path());
  return true;
}

}  // namespace

bool CreateFolder(const std::string& path, Error* error) {
  std::string stripped = StripTrailing(path);
  return ::mkdir(NativePath(stripped).c_str(), 0777) == 0 || Fail(error, "create", stripped, errno);
}

bool DeleteFile(const std::string& path, Error* error) {
  struct stat st;
  if (::lstat(NativePath(path).c_str(), &st) != 0) return Fail(error, "delete", path, errno);
  if (S_ISDIR(st.st_mode)) return Fail(error, "delete", path, EISDIR);
  return ::unlink(NativePath(path).c_str()) == 0 || Fail(error, "delete", path, errno);
}

bool RenameFile(const std::string& from, const std::string& to, Error* error) {
  if (::renameat2(AT_FDCWD, NativePath(from).c_str(), AT_FDCWD, NativePath(to).c_str(),
                  RENAME_NOREPLACE) == 0)
    return true;
  // Network file systems answer EINVAL to the flag, older kernels ENOSYS.
  if (errno == EINVAL || errno == ENOSYS) return RenameAfterCheck(from, to, error);
  return Fail(error, "move", from, errno);
}

bool RenameAfterCheck(const std::string& from, const std::string& to, Error* error) {
  struct stat st;
  if (::lstat(NativePath(to).c_str(), &st) == 0) return Fail(error, "move", from, EEXIST);
  return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0 ||
         Fail(error, "move", from, errno);
}

bool DeleteTree(const std::string& path, Error* error) {
  fs::path native = Native(StripTrailing(path));
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(native, ec)))
    return Fail(error, "delete", native, ec ? ec.value() : ENOENT);
  if (fs::remove_all(native, ec) != static_cast<std::uintmax_t>(-1) && !ec) return true;
  MakeWritableTree(native);
  ec.clear();
  fs::remove_all(native, ec);
  return !ec || Fail(error, "delete", native, ec.value());
}

std::vector<DirEntry> ListFolder(const std::string& path, Error* error) {
  std::vector<DirEntry> entries;
  std::string native = NativePath(path);
  DIR* folder = ::opendir(native.empty() ? "." : native.c_str());
  if (!folder) {
    Fail(error, "list", native, errno);
    return entries;
  }
  while (struct dirent* item = ::readdir(folder)) {
    std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    struct stat own, target;
    // Asked of the entry itself first, so nothing is followed or opened to learn what it is.
    if (::fstatat(::dirfd(folder), item->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) continue;
    bool named = !S_ISLNK(own.st_mode) || ::fstatat(::dirfd(folder), item->d_name, &target, 0) == 0;
    if (!S_ISLNK(own.st_mode)) target = own;
    DirEntry entry;
    entry.name = std::move(name);
    entry.kind = KindOfMode(own.st_mode);
    entry.is_folder = entry.kind == PathKind::kFolder;
    entry.names_folder = named && S_ISDIR(target.st_mode);
    entry.modified = named ? ToDateValue(target.st_mtime) : 0;
    entries.push_back(std::move(entry));
  }
  ::closedir(folder);
  return entries;
}

std::int64_t FileSize(const std::string& path) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) return -1;
  if (S_ISDIR(st.st_mode)) return -2;
  return st.st_size;
}

bool IsFolder(const std::string& path) { return FileSize(path) == -2; }
bool IsFile(const std::string& path) { return FileSize(path) >= 0; }
bool Exists(const std::string& path) { return FileSize(path) != -1; }

DateValue FileDate(const std::string& path) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) return 0;
  return ToDateValue(st.st_mtime);
}

bool SetFileDate(const std::string& path, DateValue date) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = FromDateValue(date);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) == 0;
}

std::optional<std::string> ReadWholeFile(const std::string& path, Error* error) {
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    Fail(error, "read", path, errno);
    return std::nullopt;
  }
  std::string data;
  char buffer[65536];
  for (;;) {
    ssize_t n = ReadSome(fd, buffer, sizeof buffer);
    if (n < 0) {
      Fail(error, "read", path, errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

bool ReplaceFileContents(const std::string& path, const std::string& data, Error* error,
                         Flush flush) {
  struct stat st;
  mode_t mode = ::stat(NativePath(path).c_str(), &st) == 0 ? (st.st_mode & 0777) : 0644;
  std::string temp = WriteTemporary(path, data, mode, flush == Flush::kToDisk, error);
  if (temp.empty()) return false;
  if (::rename(NativePath(temp).c_str(), NativePath(path).c_str()) != 0) {
    Fail(error, "replace", path, errno);
    ::unlink(NativePath(temp).c_str());
    return false;
  }
  return true;
}

bool RestrictToOwner(const std::string& path, Error* error) {
  // Read-only opening, so a file the owner made read-only can be restricted too (and stays so).
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return Fail(error, "create", path, errno);
  struct stat st;
  bool ok = (::fstat(fd, &st) == 0 && ::fchmod(fd, st.st_mode & 0700) == 0) ||
            Fail(error, "restrict", path, errno);
  return (::close(fd) == 0) && ok;
}

std::string TemporaryNameBeside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

std::string CurrentFolder() {
  std::error_code ec;
  return WithTrailingSeparator(fs::current_path(ec).string());
}

bool SetCurrentFolder(const std::string& path) { return ::chdir(NativePath(path).c_str()) == 0; }

}  // namespace oxlip::platform

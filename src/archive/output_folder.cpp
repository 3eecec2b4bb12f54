#include "archive/output_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::archive {
namespace {

enum class Kind { kMissing, kFolder, kLink, kOther };

Kind KindOf(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return Kind::kMissing;
  if (S_ISLNK(st.st_mode)) return Kind::kLink;
  return S_ISDIR(st.st_mode) ? Kind::kFolder : Kind::kOther;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Fills a fresh temporary file; it is removed again on any failure.
bool FillTemporary(const std::string& temp, std::time_t modified, const Filler& fill,
                   std::string* error) {
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = "can't create " + temp;
    return false;
  }
  bool write_failed = false;
  bool ok = fill(
      [&](const char* data, std::size_t size) {
        write_failed = !WriteAll(fd, data, size);
        return !write_failed;
      },
      error);
  if (write_failed) *error = "can't write " + temp;
  if (ok && modified > 0) {
    struct timespec times[2] = {{modified, 0}, {modified, 0}};
    ::futimens(fd, times);
  }
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace

OutputFolder::OutputFolder(const std::string& root)
    : root_(root.empty() ? "" : platform::WithTrailingSeparator(platform::NativePath(root))) {}

bool OutputFolder::Prepare(std::string* error) {
  if (root_.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(root_, ec);
  if (platform::IsFolder(root_)) return true;
  *error = "can't create output folder " + root_;
  return false;
}

bool OutputFolder::MakeOneFolder(const std::string& relative, std::string* error) {
  std::string full = root_ + relative;
  switch (KindOf(full)) {
    case Kind::kFolder:
      return true;
    case Kind::kMissing:
      if (::mkdir(full.c_str(), 0755) == 0) return true;
      *error = "can't create folder " + full;
      return false;
    case Kind::kLink:
      *error = "refusing to write through the link " + full;
      return false;
    case Kind::kOther:
      break;
  }
  *error = "a file stands where a folder belongs: " + full;
  return false;
}

bool OutputFolder::MakeParents(const std::string& relative, std::string* error) {
  for (size_t slash = relative.find('/'); slash != std::string::npos;
       slash = relative.find('/', slash + 1))
    if (!MakeOneFolder(relative.substr(0, slash), error)) return false;
  return true;
}

bool OutputFolder::MakeFolder(const std::string& relative, std::string* error) {
  return MakeParents(relative, error) && MakeOneFolder(relative, error);
}

bool OutputFolder::WriteFile(const std::string& relative, bool overwrite, std::time_t modified,
                             const Filler& fill, std::string* error) {
  if (!MakeParents(relative, error)) return false;
  std::string full = root_ + relative;
  Kind kind = KindOf(full);
  if (kind == Kind::kFolder) {
    *error = "a folder stands where a file belongs: " + full;
    return false;
  }
  if (kind != Kind::kMissing && !overwrite) return true;
  std::string temp = platform::TemporaryNameBeside(full);
  if (!FillTemporary(temp, modified, fill, error)) return false;
  // rename() replaces a link itself, never what it points at.
  if (std::rename(temp.c_str(), full.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  *error = "can't write " + full;
  return false;
}

bool OutputFolder::MakeLink(const std::string& relative, const std::string& target, bool overwrite,
                            std::string* error) {
  if (!MakeParents(relative, error)) return false;
  std::string full = root_ + relative;
  Kind kind = KindOf(full);
  if (kind == Kind::kFolder) {
    *error = "a folder stands where a link belongs: " + full;
    return false;
  }
  if (kind != Kind::kMissing) {
    if (!overwrite) return true;
    ::unlink(full.c_str());
  }
  if (::symlink(platform::NativePath(target).c_str(), full.c_str()) == 0) return true;
  *error = "can't create link " + full;
  return false;
}

}  // namespace oxlip::archive

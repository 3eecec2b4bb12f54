#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "platform/env.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

// Of the link itself unless `follow`.
std::optional<dev_t> DeviceOf(const std::string& native, bool follow = false) {
  struct stat st;
  if ((follow ? ::stat(native.c_str(), &st) : ::lstat(native.c_str(), &st)) != 0)
    return std::nullopt;
  return st.st_dev;
}

std::string ParentOf(const std::string& native) {
  size_t slash = native.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return native.substr(0, slash);
}

// The folder at the top of the file system that holds `native`, whose folders are all real
// (no link on the way).
std::string MountTop(const std::string& native, dev_t device) {
  std::string top = native;
  while (top != "/") {
    std::string parent = ParentOf(top);
    if (DeviceOf(parent) != device) break;
    top = parent;
  }
  return top;
}

std::string HomeTrash() {
  std::string data = GetEnvironment("XDG_DATA_HOME");
  if (data.empty()) {
    std::string home = GetEnvironment("HOME");
    if (home.empty()) return "";
    data = home + "/.local/share";
  }
  return data + "/Trash";
}

// A link at the end is taken only where `follow`: a top trash of a link could be planted by
// anyone who may write to the top.
bool MakeFolders(const std::string& native, mode_t mode, bool follow, Error* error) {
  for (size_t pos = 1; pos <= native.size(); ++pos) {
    if (pos != native.size() && native[pos] != '/') continue;
    std::string part = native.substr(0, pos);
    if (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
      return Fail(error, "create", part, errno);
  }
  struct stat st;
  if ((follow ? ::stat(native.c_str(), &st) : ::lstat(native.c_str(), &st)) != 0)
    return Fail(error, "create", native, errno);
  return S_ISDIR(st.st_mode) || Fail(error, "create", native, ENOTDIR);
}

bool MakeTrash(const std::string& trash, bool follow, Error* error) {
  return MakeFolders(trash, 0700, follow, error) &&
         MakeFolders(trash + "/files", 0700, false, error) &&
         MakeFolders(trash + "/info", 0700, false, error);
}

std::string EncodePath(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string InfoText(const std::string& original) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  return "[Trash Info]\nPath=" + EncodePath(original) + "\nDeletionDate=" + date + "\n";
}

// Claims a free name in the trash (made first) by creating its record exclusively, then moves
// the item. A trash that cannot be made here (a full disk, a quota, rights) is a failure too.
TrashOutcome MoveInto(const std::string& trash, const std::string& native, bool follow,
                      Error* error) {
  if (!MakeTrash(trash, follow, error)) return TrashOutcome::kFailed;
  std::string base = native.substr(native.find_last_of('/') + 1);
  std::string text = InfoText(native);
  for (int n = 1; n < 10000; ++n) {
    std::string name = n == 1 ? base : base + "." + std::to_string(n);
    std::string info = trash + "/info/" + name + ".trashinfo";
    int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      Fail(error, "create", info, errno);
      return TrashOutcome::kFailed;
    }
    ssize_t wrote = ::write(fd, text.data(), text.size());
    bool written = wrote == static_cast<ssize_t>(text.size()) ||
                   Fail(error, "write", info, wrote < 0 ? errno : ENOSPC);
    if (::close(fd) != 0 && written) written = Fail(error, "write", info, errno);
    // Never over an item someone left without a record.
    Error moving;
    if (written && RenameFile(native, trash + "/files/" + name, &moving))
      return TrashOutcome::kMoved;
    bool taken = written && moving.code == EEXIST;
    if (written && !taken && error) *error = moving;
    ::unlink(info.c_str());
    if (!taken) return TrashOutcome::kFailed;
  }
  Fail(error, "move to the trash", native, EEXIST);
  return TrashOutcome::kFailed;
}

// "$top/.Trash/$uid" when the administrator made ".Trash" (sticky, no link) and it can be
// had, else "$top/.Trash-$uid".
TrashOutcome MoveToTopTrash(const std::string& native, const std::string& top, Error* error) {
  std::string uid = std::to_string(::getuid());
  std::string root = top == "/" ? "" : top;
  struct stat st;
  std::string shared = root + "/.Trash";
  if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) &&
      MakeTrash(shared + "/" + uid, false, nullptr))
    return MoveInto(shared + "/" + uid, native, false, error);
  return MoveInto(root + "/.Trash-" + uid, native, false, error);
}

// The absolute path with every folder on the way resolved through links, the item's own name
// kept as it is (a link is trashed itself); empty when the folder cannot be resolved.
std::string ResolvedPath(const std::string& path, Error* error) {
  std::string native = NativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (!native.empty() && native[0] != '/') native = NativePath(CurrentFolder()) + native;
  std::string name = native.substr(native.find_last_of('/') + 1);
  char* real = ::realpath(ParentOf(native).c_str(), nullptr);
  if (!real || name.empty() || name == "." || name == "..") {
    Fail(error, "move to the trash", native, real ? EINVAL : errno);
    std::free(real);
    return "";
  }
  std::string folder = real;
  std::free(real);
  return (folder == "/" ? "" : folder) + "/" + name;
}

}  // namespace

TrashOutcome MoveToTrash(const std::string& path, Error* error) {
  // Through a linked folder (an "Instances" folder on another disk) the item lies on the file
  // system the link leads to, and the top of that one is where its trash belongs.
  std::string native = ResolvedPath(path, error);
  if (native.empty()) return TrashOutcome::kFailed;
  std::optional<dev_t> device = DeviceOf(native);
  if (!device) {
    Fail(error, "move to the trash", native, errno);
    return TrashOutcome::kFailed;
  }
  std::string home = HomeTrash();
  if (home.empty()) return TrashOutcome::kNoTrash;
  // Items on the home trash's own file system go there and nowhere else.
  std::string probe = home;
  while (probe != "/" && !DeviceOf(probe, true)) probe = ParentOf(probe);
  if (DeviceOf(probe, true) == device) return MoveInto(home, native, true, error);
  return MoveToTopTrash(native, MountTop(native, *device), error);
}

bool TrashOrDelete(const std::string& path, Error* error) {
  TrashOutcome outcome = MoveToTrash(path, error);
  if (outcome != TrashOutcome::kNoTrash) return outcome == TrashOutcome::kMoved;
  if (IsFolder(path)) return DeleteTree(path, error);
  return DeleteFile(path, error);
}

}  // namespace oxlip::platform

#include "archive/output_folder.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/path_status.h"
#include "platform/pending_file.h"

namespace oxlip::archive {
namespace {

using platform::PathKind;

PathKind KindOf(const std::string& path) { return platform::LinkStatus(path).kind; }

// The file takes its name only when complete; on any failure it leaves nothing behind.
bool FillAndPublish(const std::string& full, std::time_t modified, const Filler& fill,
                    std::string* error) {
  platform::PendingFile file;
  if (!file.Create(full)) {
    *error = base::WithReason("can't create " + full, file.error().reason);
    return false;
  }
  bool write_failed = false;
  bool ok = fill(
      [&](const char* data, std::size_t size) {
        write_failed = !file.Write(data, size);
        return !write_failed;
      },
      error);
  if (write_failed) *error = base::WithReason("can't write " + full, file.error().reason);
  if (ok && modified > 0) file.SetModified(modified);
  // Publishing replaces a link itself, never what it points at.
  if (ok && !file.Publish(full)) {
    ok = false;
    *error = base::WithReason("can't write " + full, file.error().reason);
  }
  file.Close();
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
  {
    std::lock_guard lock(known_mutex_);
    if (known_folders_.count(relative)) return true;
  }
  std::string full = root_ + relative;
  std::error_code ec;
  switch (KindOf(full)) {
    case PathKind::kFolder:
      break;
    case PathKind::kMissing:
      // Another thread of this extraction may have made it in between.
      if (!std::filesystem::create_directory(full, ec) && KindOf(full) != PathKind::kFolder) {
        *error = "can't create folder " + full;
        return false;
      }
      break;
    case PathKind::kLink:
      *error = "refusing to write through the link " + full;
      return false;
    case PathKind::kFile:
    case PathKind::kOther:
      *error = "a file stands where a folder belongs: " + full;
      return false;
  }
  std::lock_guard lock(known_mutex_);
  known_folders_.insert(relative);
  return true;
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
  PathKind kind = KindOf(full);
  if (kind == PathKind::kFolder) {
    *error = "a folder stands where a file belongs: " + full;
    return false;
  }
  if (kind != PathKind::kMissing && !overwrite) return true;
  return FillAndPublish(full, modified, fill, error);
}

}  // namespace oxlip::archive

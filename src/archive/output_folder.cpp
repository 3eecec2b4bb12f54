#include "archive/output_folder.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/open_file.h"
#include "platform/path.h"
#include "platform/path_status.h"

namespace oxlip::archive {
namespace {

using platform::PathKind;

PathKind KindOf(const std::string& path) { return platform::LinkStatus(path).kind; }

// Fills a fresh temporary file for `full`, which a failure names (the temporary name means
// nothing to a person); it is removed again on any failure.
bool FillTemporary(const std::string& temp, const std::string& full, std::time_t modified,
                   const Filler& fill, std::string* error) {
  platform::NewFile file;
  if (!file.Create(temp)) {
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
  if (ok && modified > 0) file.SetModified(modified);
  bool closed = file.Close();
  if (write_failed || (ok && !closed))
    *error = base::WithReason("can't write " + full, file.error().reason);
  ok = closed && ok;
  if (!ok) platform::DeleteFile(temp);
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
  std::error_code ec;
  switch (KindOf(full)) {
    case PathKind::kFolder:
      return true;
    case PathKind::kMissing:
      if (std::filesystem::create_directory(full, ec)) return true;
      *error = "can't create folder " + full;
      return false;
    case PathKind::kLink:
      *error = "refusing to write through the link " + full;
      return false;
    case PathKind::kFile:
    case PathKind::kOther:
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
  PathKind kind = KindOf(full);
  if (kind == PathKind::kFolder) {
    *error = "a folder stands where a file belongs: " + full;
    return false;
  }
  if (kind != PathKind::kMissing && !overwrite) return true;
  std::string temp = platform::TemporaryNameBeside(full);
  if (!FillTemporary(temp, full, modified, fill, error)) return false;
  // rename() replaces a link itself, never what it points at.
  if (std::rename(temp.c_str(), full.c_str()) == 0) return true;
  int code = errno;
  platform::DeleteFile(temp);
  *error = base::WithReason("can't write " + full, platform::ReasonText(code));
  return false;
}

}  // namespace oxlip::archive

#include "mods/mod_import.h"

#include <algorithm>

#include "archive/extract_budget.h"
#include "archive/seven_zip.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "mods/mod_workspace.h"
#include "mods/name_case.h"
#include "mods/sort_mod_files.h"
#include "platform/disk_space.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::mods {
namespace {

constexpr std::uint64_t kUnpackFactor = 100;
constexpr std::uint64_t kSmallestLimit = std::uint64_t{64} << 20;
constexpr std::uint64_t kKeepFree = std::uint64_t{1} << 30;

}  // namespace

bool IsModArchive(const std::string& archive) {
  std::string name = platform::FileNamePart(archive);
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = LowerCase(name.substr(dot + 1));
  return extension == "zip" || extension == "7z";
}

std::string ImportStagingFolder(const GlobalSettings& settings) {
  return settings.CacheDir + "unzipped\\";
}

bool UnpackModArchive(const GlobalSettings& settings, const std::string& archive,
                      std::string* error) {
  ClearImportFolders(settings);
  const std::string staging = ImportStagingFolder(settings);
  std::int64_t size = platform::FileSize(archive);
  UnpackLimit limit = ImportUnpackLimit(size > 0 ? static_cast<std::uint64_t>(size) : 0,
                                        platform::FreeDiskSpace(settings.CacheDir));
  archive::ExtractBudget budget(limit.bytes);
  int rc = SevenZip(
      nullptr, "x \"" + ToOemText(archive) + "\" * -o\"" + ToOemText(staging) + "\" -aoa -hide",
      nullptr, 0);
  if (budget.exceeded()) {
    *error = "ImportMod: Refused " + platform::NativePath(archive) +
             (limit.by_disk ? ": unpacking it would leave less than 1 GB free on the disk"
                            : ": it unpacks to more than 100 times its size");
    return false;
  }
  if (rc != 0) {
    *error = "ImportMod: Can't unpack " + platform::NativePath(archive) + ": " + LastErrorText();
    return false;
  }
  SortModFiles(staging, WorkspaceFolder(settings));
  return true;
}

void ClearImportFolders(const GlobalSettings& settings) {
  platform::DeleteTree(ImportStagingFolder(settings));
  platform::DeleteTree(WorkspaceFolder(settings));
}

UnpackLimit ImportUnpackLimit(std::uint64_t archive_size, std::optional<std::uint64_t> free_space) {
  UnpackLimit limit;
  std::uint64_t by_size =
      archive_size > UINT64_MAX / kUnpackFactor ? UINT64_MAX : archive_size * kUnpackFactor;
  limit.bytes = std::max(by_size, kSmallestLimit);
  if (free_space) {
    std::uint64_t spare = *free_space > kKeepFree ? *free_space - kKeepFree : 0;
    if (spare < limit.bytes) limit = {spare, true};
  }
  return limit;
}

std::string ImportedModName(const std::string& archive) {
  std::string name = platform::FileNamePart(archive);
  std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace oxlip::mods

#include "mods/mod_import.h"

#include <algorithm>

#include "archive/extract_budget.h"
#include "archive/seven_zip.h"
#include "base/behind_status.h"
#include "base/check_result.h"
#include "base/error_text.h"
#include "base/paths.h"
#include "mods/mod_workspace.h"
#include "mods/new_mod.h"
#include "platform/ascii_case.h"
#include "platform/disk_space.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {

namespace mods {
namespace {

constexpr std::uint64_t kUnpackFactor = 100;
constexpr std::uint64_t kSmallestLimit = std::uint64_t{64} << 20;
constexpr std::uint64_t kKeepFree = std::uint64_t{1} << 30;

bool AcceptedExtension(const std::string& archive) {
  std::string name = platform::FileNamePart(archive);
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = platform::LowerAscii(name.substr(dot + 1));
  return extension == "zip" || extension == "7z";
}

// Unpacks into the staging folder and sorts it into the workspace; 0 with the last-error text
// set when the archive could not be unpacked.
int UnpackAndSort(const GlobalSettings& settings, const std::string& archive,
                  const std::string& staging) {
  std::int64_t size = platform::FileSize(archive);
  UnpackLimit limit = ImportUnpackLimit(size > 0 ? static_cast<std::uint64_t>(size) : 0,
                                        platform::FreeDiskSpace(settings.CacheDir));
  archive::ExtractBudget budget(limit.bytes);
  int rc = SevenZip(
      nullptr, "x \"" + ToOemText(archive) + "\" * -o\"" + ToOemText(staging) + "\" -aoa -hide",
      nullptr, 0);
  if (budget.exceeded()) {
    SetErrorText("ImportMod: Refused " + platform::NativePath(archive) +
                 (limit.by_disk ? ": unpacking it would leave less than 1 GB free on the disk"
                                : ": it unpacks to more than 100 times its size"));
    return 0;
  }
  if (rc != 0) {
    SetErrorText("ImportMod: Can't unpack " + platform::NativePath(archive) + ": " +
                 LastErrorText());
    return 0;
  }
  SortModFiles(staging, WorkspaceFolder(settings));
  return 1;
}

}  // namespace

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

}  // namespace mods

std::string ImportMod(const GlobalSettings& settings, const VersionList& versions, Ui& ui,
                      const std::string& archive) {
  if (!mods::AcceptedExtension(archive)) return "";
  std::string staging = settings.CacheDir + "unzipped\\";
  std::string workspace = mods::WorkspaceFolder(settings);
  auto clean = [&] {
    platform::DeleteTree(staging);
    platform::DeleteTree(workspace);
  };
  int unpacked = base::BehindStatus(ui, "Unpacking mod", platform::FileNamePart(archive), true,
                                    [&](ProgressSink&) {
                                      clean();
                                      return mods::UnpackAndSort(settings, archive, staging);
                                    });
  ModRecord record;
  if (unpacked) {
    record.Name = mods::ImportedModName(archive);
    record.Version = settings.LatestVersionNr;
    mods::ConfirmAndPack(settings, versions, ui, record);
  }
  clean();
  if (!unpacked) CheckResult(ui, 0);
  return record.Dir;
}

}  // namespace oxlip

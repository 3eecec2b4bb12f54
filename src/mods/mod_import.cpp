#include "mods/mod_import.h"

#include "archive/extract_budget.h"
#include "base/behind_status.h"
#include "base/check_result.h"
#include "base/error_text.h"
#include "base/paths.h"
#include "mods/mod_workspace.h"
#include "mods/new_mod.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {

namespace mods {
namespace {

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
  std::string refusal;
  int rc = archive::SevenZipWithinLimit(
      "x \"" + ToOemText(archive) + "\" * -o\"" + ToOemText(staging) + "\" -aoa -hide", archive,
      staging, &refusal);
  if (!refusal.empty()) {
    SetErrorText("ImportMod: Refused " + platform::NativePath(archive) + refusal);
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

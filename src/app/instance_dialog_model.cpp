#include "app/instance_dialog_model.h"

#include <algorithm>

#include "app/login_form.h"
#include "image/image_loader.h"
#include "image/image_scale.h"
#include "launch/login_crypt.h"
#include "prefs/pref_document.h"

namespace oxlip::app {
namespace {

LauncherOption LauncherOf(int use_launcher) {
  if (use_launcher == 0) return LauncherOption::kInternal;
  if (use_launcher == 1) return LauncherOption::kMineCraft;
  return LauncherOption::kAlternate;
}

int UseLauncherOf(LauncherOption option) {
  switch (option) {
    case LauncherOption::kAlternate:
      return 2;
    case LauncherOption::kMineCraft:
      return 1;
    case LauncherOption::kInternal:
      break;
  }
  return 0;
}

}  // namespace

bool AcceptsModDrag(ModListSide list, int kind) {
  if (list == ModListSide::kInstalled)
    return kind == kDragFromInstalled || kind == kDragFromAvailable;
  return kind == kDragFromInstalled;
}

InstanceDialogModel::InstanceDialogModel(Instance& record, std::vector<std::string> version_files,
                                         ModList library, Services services)
    : record_(record),
      version_files_(std::move(version_files)),
      library_(std::move(library)),
      services_(std::move(services)) {
  if (const image::Image* icon = record.Icon.image())
    preview_ = image::ScaleImage(*icon, image::kIconSide, image::kIconSide);
  chosen_icon_file_ = record.IconFile;
  Fill(record.Mods);

  InstanceDialogFields& f = fields_;
  f.title = record.Name;
  int first = version_files_.empty() ? -1 : 0;
  if (record.MineCraftFile == instances::kReleaseChannel) {
    f.version = VersionOption::kRelease;
    f.version_index = first;
  } else if (record.MineCraftFile == instances::kBetaChannel) {
    f.version = VersionOption::kBeta;
    f.version_index = first;
  } else {
    f.version = VersionOption::kPinned;
    auto found = std::find(version_files_.begin(), version_files_.end(), record.MineCraftFile);
    f.version_index =
        found == version_files_.end() ? -1 : static_cast<int>(found - version_files_.begin());
  }
  f.set_memory = record.SetMemory != 0;
  f.custom_java = record.CustomJava != 0;
  f.maximize = record.Maximize != 0;
  f.auto_backup_saves = record.AutoBackupSaves != 0;
  f.backup_before_update = record.BackupBeforUpdate != 0;
  f.launcher = LauncherOf(record.UseLauncher);
  f.alt_launcher = record.AltLauncher;
  f.min_memory = std::to_string(record.MinMemory);
  f.max_memory = std::to_string(record.MaxMemory);
  f.java_path = record.JavaPath;
  stored_credentials_ = record.LoginCrypt;
  offline_name_ = record.OfflineName;
  f.auto_login = !stored_credentials_.empty() || !offline_name_.empty();
}

void InstanceDialogModel::SelectVersion(int index) {
  bool listed = index >= 0 && index < static_cast<int>(version_files_.size());
  fields_.version_index = listed ? index : -1;
  fields_.version = VersionOption::kPinned;
}

void InstanceDialogModel::ClickAutoLogin(bool checked) {
  fields_.auto_login = checked;
  if (!checked) return;
  launch::Credentials credentials{offline_name_, ""};
  if (!stored_credentials_.empty()) DecodeLogin(stored_credentials_, credentials);
  int choice = services_.login ? services_.login(credentials) : kLoginCancelled;
  std::string encoded;
  if (choice == kLoginChosen) encoded = EncodeLogin(credentials);
  std::string offline = choice == kPlayOfflineChosen ? credentials.user : "";
  // Nothing to store (cancelled, no name, or no random bytes to encode with): the box does not
  // stay ticked.
  if (encoded.empty() && offline.empty()) {
    fields_.auto_login = false;
    return;
  }
  stored_credentials_ = encoded;
  offline_name_ = offline;
}

FileRequester InstanceDialogModel::LauncherFileRequester() const {
  return LauncherRequester(fields_.alt_launcher);
}

void InstanceDialogModel::LauncherChosen(const std::string& file) {
  if (!file.empty()) fields_.alt_launcher = file;
}

FileRequester InstanceDialogModel::JavaFileRequester() const {
  return JavaRequester(fields_.java_path);
}

void InstanceDialogModel::JavaChosen(const std::string& file) {
  if (!file.empty()) fields_.java_path = FolderOfFile(file);
}

FileRequester InstanceDialogModel::IconFileRequester() const {
  return IconRequester(chosen_icon_file_, services_.icon_folder);
}

void InstanceDialogModel::IconChosen(const std::string& file) {
  if (file.empty()) return;
  std::optional<image::Image> loaded = image::LoadImageFile(file);
  if (!loaded) {
    if (services_.show_message)
      services_.show_message("Oxlip", "Fileformat is not supported!\n" + file);
    return;
  }
  preview_ = image::ScaleImage(*loaded, image::kIconSide, image::kIconSide);
  chosen_icon_file_ = file;
}

std::string InstanceDialogModel::PinnedVersion() const {
  int index = fields_.version_index;
  if (index < 0 || index >= static_cast<int>(version_files_.size())) return "";
  return version_files_[static_cast<size_t>(index)];
}

void InstanceDialogModel::ApplyIcon() {
  if (chosen_icon_file_ == record_.IconFile) return;
  // The default image is shared and stays; an own image is replaced.
  FreeInstanceIcon(record_);
  if (preview_) record_.Icon.SetOwn(std::move(*preview_));
  preview_.reset();
  record_.IconFile = chosen_icon_file_;
}

void InstanceDialogModel::Confirm() {
  Instance& r = record_;
  const InstanceDialogFields& f = fields_;
  if (f.version == VersionOption::kRelease)
    r.MineCraftFile = instances::kReleaseChannel;
  else if (f.version == VersionOption::kBeta)
    r.MineCraftFile = instances::kBetaChannel;
  else
    r.MineCraftFile = PinnedVersion();
  ApplyIcon();
  r.Name = f.title;
  r.SetMemory = f.set_memory ? 1 : 0;
  r.MinMemory = prefs::ParsePrefNumber(f.min_memory);
  r.MaxMemory = prefs::ParsePrefNumber(f.max_memory);
  r.CustomJava = f.custom_java ? 1 : 0;
  r.JavaPath = f.java_path;
  r.Maximize = f.maximize ? 1 : 0;
  r.AltLauncher = f.alt_launcher;
  r.AutoBackupSaves = f.auto_backup_saves ? 1 : 0;
  r.BackupBeforUpdate = f.backup_before_update ? 1 : 0;
  r.UseLauncher = UseLauncherOf(f.launcher);
  r.LoginCrypt = f.auto_login ? stored_credentials_ : "";
  r.OfflineName = f.auto_login ? offline_name_ : "";
  r.Mods = installed_.Dirs();
}

}  // namespace oxlip::app

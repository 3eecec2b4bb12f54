#include "app/restore_choice_model.h"

#include <cstdio>
#include <utility>

#include "platform/dates.h"

namespace oxlip::app {

std::string SizeText(std::int64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
  double size = static_cast<double>(bytes) / 1024;
  int unit = 0;
  while (size >= 1024 && unit < 3) size /= 1024, ++unit;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", size, kUnits[unit]);
  return text;
}

RestoreChoiceModel::RestoreChoiceModel(std::string instance_name,
                                       std::vector<backup::BackupArchive> backups)
    : instance_name_(std::move(instance_name)), backups_(std::move(backups)) {
  Select(0);
}

std::string RestoreChoiceModel::Cell(int row, int column) const {
  if (row < 0 || row >= rows()) return "";
  const backup::BackupArchive& backup = backups_[static_cast<std::size_t>(row)];
  switch (column) {
    case 0:
      return backup.world.empty() ? kWholeInstance : backup.world;
    case 1:
      return platform::FormatDateTime(backup.date);
    case 2:
      return SizeText(backup.size);
  }
  return "";
}

void RestoreChoiceModel::Select(int row) { selected_ = row >= 0 && row < rows() ? row : -1; }

const backup::BackupArchive* RestoreChoiceModel::chosen() const {
  return selected_ < 0 ? nullptr : &backups_[static_cast<std::size_t>(selected_)];
}

std::string RestoreChoiceModel::Note() const {
  const backup::BackupArchive* backup = chosen();
  if (!backup) return "";
  if (backup->world.empty())
    return "The instance's .minecraft folder and its mod list are replaced; the current ones "
           "go to the trash.";
  return "The world \"" + backup->world + "\" is replaced; the current one goes to the trash.";
}

}  // namespace oxlip::app

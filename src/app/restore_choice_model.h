#pragma once
// The dialog that lists an instance's backups and lets the person pick the one to restore.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "backup/backup_list.h"

namespace oxlip::app {

class RestoreChoiceModel {
 public:
  static constexpr const char* kTitle = "Restore backup";
  static constexpr const char* kWholeInstance = "Whole instance";
  static constexpr std::array<const char*, 3> kColumns = {"Backup", "Date", "Size"};

  // The backups as ListBackups gives them, newest first; the newest is selected.
  RestoreChoiceModel(std::string instance_name, std::vector<backup::BackupArchive> backups);

  std::string WindowTitle() const { return std::string(kTitle) + " - " + instance_name_; }
  int rows() const { return static_cast<int>(backups_.size()); }
  // The world's name or kWholeInstance, the date and time it was made, its size.
  std::string Cell(int row, int column) const;

  // A row outside the list selects none.
  void Select(int row);
  int selected() const { return selected_; }
  // The chosen backup; null while none is selected.
  const backup::BackupArchive* chosen() const;
  // What restoring the selected backup replaces, for the line under the list; "" with none.
  std::string Note() const;

 private:
  std::string instance_name_;
  std::vector<backup::BackupArchive> backups_;
  int selected_ = -1;
};

// "512 bytes", "12.5 KB", "3.0 MB", "1.2 GB" (units of 1024).
std::string SizeText(std::int64_t bytes);

}  // namespace oxlip::app

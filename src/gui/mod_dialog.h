#pragma once
// The mod creation dialog ("Create new mod") over its model.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "app/mod_dialog_model.h"
#include "gui/mod_file_list.h"

namespace oxlip::gui {

// "Create new mod": version and name above, the workspace's three parts side by side below.
// Everything it does goes through the model; OK and Cancel only end it.
class ModDialog : public QDialog {
  Q_OBJECT

 public:
  ModDialog(QWidget* parent, app::ModDialogModel& model);

  QComboBox* version_box() const { return version_; }
  QLineEdit* name_field() const { return name_; }
  ModFileList* file_list(int list) const { return lists_[Index(list)]; }
  QLineEdit* path_field(int list) const { return paths_[Index(list)]; }
  QPushButton* up_button(int list) const { return ups_[Index(list)]; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

 private:
  static std::size_t Index(int list);
  void BuildFields();
  void BuildList(int list, int x);
  void ShowPath(int list);

  app::ModDialogModel& model_;
  QComboBox* version_ = nullptr;
  QLineEdit* name_ = nullptr;
  std::array<ModFileList*, app::kModDialogLists> lists_{};
  std::array<QLineEdit*, app::kModDialogLists> paths_{};
  std::array<QPushButton*, app::kModDialogLists> ups_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace oxlip::gui

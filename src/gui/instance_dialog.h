#pragma once
// The instance configuration dialog ("Instance Config") over its model.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "app/instance_dialog_model.h"
#include "gui/mod_drag_list.h"

namespace oxlip::gui {

// The instance configuration dialog: three tabs of gadgets bound to the model. Every change
// the person makes goes into the model; whatever the model changes in return is drawn again.
class InstanceConfigDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kInnerWidth = 600;
  static constexpr int kInnerHeight = 400;

  InstanceConfigDialog(QWidget* owner, app::InstanceDialogModel& model);

  QTabWidget* tabs() const { return tabs_; }
  QLineEdit* title_field() const { return title_; }
  QToolButton* icon_button() const { return icon_; }
  QRadioButton* release_option() const { return release_; }
  QRadioButton* beta_option() const { return beta_; }
  QRadioButton* pinned_option() const { return pinned_; }
  QComboBox* version_list() const { return versions_; }
  QCheckBox* auto_login_box() const { return auto_login_; }
  QLineEdit* launcher_field() const { return launcher_; }
  QToolButton* launcher_button() const { return launcher_button_; }
  QLineEdit* min_memory_field() const { return min_memory_; }
  QLineEdit* max_memory_field() const { return max_memory_; }
  QLineEdit* java_field() const { return java_; }
  QToolButton* java_button() const { return java_button_; }
  ModDragList* installed_list() const { return installed_; }
  ModDragList* available_list() const { return available_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

 private:
  QWidget* BuildGeneralPage();
  QWidget* BuildJavaPage();
  QWidget* BuildModPage();
  QWidget* BuildButtons();
  void BindGeneral();
  void BindJava();
  void BindMods(ModDragList* list);
  void ShowFields();
  void ShowPreview();
  void ShowMods();
  void PopUpModMenu(app::ModListSide side);
  QCheckBox* NewCheckBox(const char* text, bool app::InstanceDialogFields::*field);

  app::InstanceDialogModel& model_;
  QTabWidget* tabs_;
  QLineEdit* title_ = nullptr;
  QToolButton* icon_ = nullptr;
  QButtonGroup version_group_;
  QRadioButton* release_ = nullptr;
  QRadioButton* beta_ = nullptr;
  QRadioButton* pinned_ = nullptr;
  QComboBox* versions_ = nullptr;
  QCheckBox* backup_saves_ = nullptr;
  QCheckBox* backup_update_ = nullptr;
  QButtonGroup launcher_group_;
  QRadioButton* internal_ = nullptr;
  QRadioButton* minecraft_ = nullptr;
  QRadioButton* alternate_ = nullptr;
  QLineEdit* launcher_ = nullptr;
  QToolButton* launcher_button_ = nullptr;
  QCheckBox* auto_login_ = nullptr;
  QCheckBox* maximize_ = nullptr;
  QCheckBox* set_memory_ = nullptr;
  QLineEdit* min_memory_ = nullptr;
  QLineEdit* max_memory_ = nullptr;
  QCheckBox* custom_java_ = nullptr;
  QLineEdit* java_ = nullptr;
  QToolButton* java_button_ = nullptr;
  ModDragList* installed_ = nullptr;
  ModDragList* available_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace oxlip::gui

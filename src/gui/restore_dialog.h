#pragma once
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/restore_choice_model.h"

namespace oxlip::gui {

// "Restore backup": the instance's backups in a list (what, when, how big), a line that says
// what the chosen one replaces, and Restore or Cancel. Choosing goes through the model.
class RestoreDialog : public QDialog {
  Q_OBJECT

 public:
  RestoreDialog(QWidget* owner, app::RestoreChoiceModel& model);

  QTreeWidget* list() const { return list_; }
  QLabel* note() const { return note_; }
  QPushButton* restore_button() const { return restore_; }

 private:
  void ShowChoice();

  app::RestoreChoiceModel& model_;
  QTreeWidget* list_;
  QLabel* note_;
  QPushButton* restore_;
};

}  // namespace oxlip::gui

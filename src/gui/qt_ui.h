#pragma once
#include <QWidget>

#include "app/ui.h"

namespace oxlip::gui {

// The Ui port drawn with Qt; boxes are owned by the given window.
class QtUi : public Ui {
 public:
  explicit QtUi(QWidget* owner = nullptr) : owner_(owner) {}
  void set_owner(QWidget* owner) { owner_ = owner; }
  void ShowMessage(const std::string& title, const std::string& text) override;

 private:
  QWidget* owner_;
};

}  // namespace oxlip::gui

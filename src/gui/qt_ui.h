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
  void ShowStatusWindow(const std::string&, const std::string&, bool) override {}
  void CloseStatusWindow() override {}
  ProgressSink& StatusProgress() override { return no_progress_; }
  int RunWithProgress(const std::string&, const std::string&,
                      const std::function<int(ProgressSink&)>& work) override {
    return work(no_progress_);
  }
  void ListChanged(ListKind) override {}

 private:
  QWidget* owner_;
  NoProgress no_progress_;
};

}  // namespace oxlip::gui

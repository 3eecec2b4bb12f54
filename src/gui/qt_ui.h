#pragma once
#include <QObject>
#include <QPointer>

#include "base/ui.h"
#include "gui/main_window.h"
#include "gui/status_window.h"

namespace oxlip::gui {

// The Ui port drawn with Qt, over the main window: boxes and status windows are owned by it.
class QtUi : public QObject, public Ui {
  Q_OBJECT

 public:
  explicit QtUi(MainWindow* window);
  ~QtUi() override;

  void ShowMessage(const std::string& title, const std::string& text) override;
  void ShowStatusWindow(const std::string& title, const std::string& text,
                        bool hide_progress) override;
  void CloseStatusWindow() override;
  ProgressSink& StatusProgress() override { return status_sink_; }
  int RunWithProgress(const std::string& title, const std::string& text,
                      const std::function<int(ProgressSink&)>& work) override;
  void ListChanged(ListKind list) override;

  StatusWindow* status_window() const { return status_; }

 private:
  MainWindow* window_;
  QPointer<StatusWindow> status_;
  StatusProgressSink status_sink_;
};

}  // namespace oxlip::gui

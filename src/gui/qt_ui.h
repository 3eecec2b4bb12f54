#pragma once
// The Ui port implemented with Qt.
#include <QObject>
#include <QPointer>
#include <vector>

#include "app/ui.h"
#include "gui/game_log_window.h"
#include "gui/main_window.h"
#include "gui/status_window.h"

namespace oxlip::gui {

// The Ui port drawn with Qt, over the main window: boxes and status windows are owned by it.
class QtUi : public QObject, public app::Ui {
  Q_OBJECT

 public:
  explicit QtUi(MainWindow* window);
  ~QtUi() override;

  void ShowMessage(const std::string& title, const std::string& text) override;
  void ShowStatusWindow(const std::string& title, const std::string& text,
                        bool hide_progress) override;
  void CloseStatusWindow() override;
  base::ProgressSink& StatusProgress() override { return status_sink_; }
  int RunWithProgress(const std::string& title, const std::string& text,
                      const std::function<int(base::ProgressSink&)>& work) override;
  int RunBehindStatus(const std::function<int(base::ProgressSink&)>& work) override;
  int RunCancellableBehindStatus(const std::function<int(base::ProgressSink&)>& work) override;
  void ListChanged(app::ListKind list) override;
  void InstanceRowChanged(int row, app::RowChange change) override;
  void SelectInstanceRow(int row) override;
  app::RowRange InstanceRowsInView() override;
  std::string OpenFileDialog(const std::string& title, const std::string& filters,
                             int selected_filter) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& preset) override;
  void OpenFolder(const std::string& path) override;
  bool RunLoginDialog(app::LoginForm& form) override;
  bool RunModDialog(app::ModDialogModel& model) override;
  bool RunInstanceDialog(app::InstanceDialogModel& model) override;
  bool RunRestoreDialog(app::RestoreChoiceModel& model) override;
  bool ShowOffer(const std::string& title, const std::string& text,
                 const std::string& action) override;
  void ShowGameLog(const std::string& title, const std::string& log_file) override;

  StatusWindow* status_window() const { return status_; }
  // The log windows still open.
  std::vector<GameLogWindow*> game_logs() const;

 private:
  // The open modal dialog, else the main window.
  QWidget* Owner() const;
  // Runs `work` on a worker while this thread keeps handling events; its result.
  int RunOnWorker(const std::function<int()>& work);
  // Cancels whatever work runs now, for the main window that is being closed.
  void CancelRunningWork();

  MainWindow* window_;
  QPointer<StatusWindow> status_;
  StatusProgressSink status_sink_;
  StatusProgressSink* progress_sink_ = nullptr;  // the progress window's, while one runs
  std::vector<QPointer<GameLogWindow>> logs_;    // closed ones turn null
};

}  // namespace oxlip::gui

#pragma once
// The main window: three lists on tabs, drawn from the program's state.
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/app_state.h"
#include "app/ui.h"
#include "gui/instance_list_view.h"
#include "gui/report_list_view.h"

namespace oxlip::gui {

inline constexpr const char* kMainWindowTitle = "Oxlip 0.12.7.15";

// The one window: three lists on tabs, everything reached by right click, double click and
// drag and drop. What an event does is decided in the core.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(app::AppState& state);
  void set_ui(app::Ui* ui) { ui_ = ui; }
  // What stops the running work when the person closes the window during it.
  void set_cancel_work(std::function<void()> cancel) { cancel_work_ = std::move(cancel); }
  // The person closed the window and it closes once the work has ended: work started now is
  // cancelled from its start.
  bool closing() const { return close_pending_; }

  // Places the window at the stored position and inner size, or centred when either stored
  // coordinate is -1.
  void PlaceFromSettings();
  // The window's real position and inner size, into the settings.
  void StoreGeometry() const;

  void LayoutMainWindow();
  // Redraws a list from the state.
  void Refresh(app::ListKind list);
  // Redraws one row of the instance list from the state.
  void RefreshInstanceRow(int row, app::RowChange change);
  void SelectInstanceRow(int row);

  // Long work holds the window: disabled while any is running.
  void BeginWork();
  void EndWork();
  // Runs a command of the window's events. A close asked for meanwhile (close box,
  // termination signal) waits until it and all work have ended, so every box and dialog
  // the command still shows is answered first.
  void RunCommand(const std::function<void()>& command);

  QTabWidget* tabs() const { return tabs_; }
  InstanceListView* instance_list() const { return instances_; }
  ReportListView* version_list() const { return versions_; }
  ReportListView* mod_list() const { return mods_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FillVersionList();
  void FillModList();
  void FillInstanceList();
  void AddInstanceRow(int row, Instance& record);
  void ConnectEvents();
  void PopUp(app::ListKind list, int row_under_pointer);
  void CloseWhenIdle();

  app::AppState& state_;
  app::Ui* ui_ = nullptr;
  QTabWidget* tabs_;
  InstanceListView* instances_;
  ReportListView* versions_;
  ReportListView* mods_;
  QTimer watch_timer_;
  QTimer icon_timer_;       // runs while instance icons are read behind the window
  int default_image_ = -1;  // the image list's default icon, once an instance shows it
  int work_running_ = 0;
  int commands_running_ = 0;
  bool close_pending_ = false;
  std::function<void()> cancel_work_;
};

}  // namespace oxlip::gui

#include "gui/main_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

#include "app/empty_list_hint.h"
#include "app/game_end_report.h"
#include "app/instance_icons.h"
#include "app/main_view.h"
#include "app/startup_hooks.h"
#include "gui/empty_area_text.h"
#include "gui/popup_menu.h"
#include "platform/dates.h"

namespace oxlip::gui {
namespace {

constexpr int kWatchIntervalMs = 200;
// Short, so that icons read behind the window appear as they come.
constexpr int kIconIntervalMs = 20;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MainWindow::MainWindow(app::AppState& state) : state_(state) {
  setWindowTitle(kMainWindowTitle);
  tabs_ = new QTabWidget(this);
  instances_ = new InstanceListView(nullptr);
  versions_ = new ReportListView(nullptr, {{"File", 200}, {"Version", 150}, {"Date", 100}});
  mods_ = new ReportListView(nullptr, {{"Modification", 200}, {"MineCraft Version", 200}});
  // Each list fills its page from (0, 0), also while a page is hidden and when it is resized.
  for (auto [list, title] : {std::pair<QWidget*, const char*>{instances_, "Instances"},
                             {versions_, "Minecraft Versions"},
                             {mods_, "Modifications"}}) {
    auto* page = new QWidget;
    auto* fill = new QVBoxLayout(page);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(list);
    tabs_->addTab(page, title);
  }
  ConnectEvents();
  for (auto [view, kind] :
       {std::pair<QAbstractItemView*, app::ListKind>{instances_, app::ListKind::kInstances},
        {versions_, app::ListKind::kVersions}})
    new EmptyAreaText(view, [this, kind = kind] { return Text(app::EmptyListHint(state_, kind)); });
  connect(&watch_timer_, &QTimer::timeout, this, [this] {
    WatchGameWindow(state_);
    // A game that ended badly is told between commands, never over their windows.
    if (ui_ && state_.game.ended && work_running_ == 0 && commands_running_ == 0)
      RunCommand([this] { app::ReportGameEnd(state_, *ui_); });
  });
  watch_timer_.start(kWatchIntervalMs);
  connect(&icon_timer_, &QTimer::timeout, this, [this] {
    if (!ui_ || !app::DeliverInstanceIcons(state_, *ui_)) icon_timer_.stop();
  });
  LayoutMainWindow();
}

void MainWindow::ConnectEvents() {
  // The menu follows what is under the pointer: a row's menu on a row, the list's own menu on
  // the empty area.
  instances_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(instances_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopUp(app::ListKind::kInstances, instances_->RowAt(at)); });
  for (auto [view, kind] :
       {std::pair<ReportListView*, app::ListKind>{versions_, app::ListKind::kVersions},
        {mods_, app::ListKind::kMods}}) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view = view, kind = kind](const QPoint& at) { PopUp(kind, view->RowAt(at)); });
  }
  connect(instances_, &QListWidget::itemDoubleClicked, this, [this] {
    if (ui_)
      RunCommand([this] { app::DoubleClickInstance(state_, *ui_, instances_->SelectedRow()); });
  });
  connect(instances_, &InstanceListView::dragStarted, this,
          [this](int row) { app::StartInstanceDrag(state_, row); });
  connect(instances_, &InstanceListView::instanceDropped, this, [this](int target) {
    int from = state_.selection.drag_row;
    if (app::DropInstance(state_, target)) instances_->MoveItem(from, target);
  });
  // Adding a jar or importing a mod runs long and shows windows: the desktop gets its answer
  // to the drop first.
  for (auto [view, kind] :
       {std::pair<ReportListView*, app::ListKind>{versions_, app::ListKind::kVersions},
        {mods_, app::ListKind::kMods}}) {
    connect(
        view, &ReportListView::filesDropped, this,
        [this, kind = kind](const QString& names) {
          if (ui_) RunCommand([&] { app::DropFiles(state_, *ui_, kind, names.toStdString()); });
        },
        Qt::QueuedConnection);
  }
}

void MainWindow::PopUp(app::ListKind list, int row_under_pointer) {
  app::Menu menu = app::RightClickMenu(state_, list, row_under_pointer);
  if (menu.empty()) return;
  int id = ShowPopupMenu(menu, QCursor::pos(), this);
  if (id >= 0 && ui_) RunCommand([&] { app::RunMenuCommand(state_, *ui_, id); });
}

void MainWindow::PlaceFromSettings() {
  const base::GlobalSettings& s = state_.settings;
  resize(s.WinW, s.WinH);
  if (s.WinX == -1 || s.WinY == -1) {
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    move(area.center() - QPoint(s.WinW / 2, s.WinH / 2));
  } else {
    move(s.WinX, s.WinY);
  }
}

void MainWindow::StoreGeometry() const {
  base::GlobalSettings& s = state_.settings;
  s.WinX = pos().x();
  s.WinY = pos().y();
  s.WinW = width();
  s.WinH = height();
}

void MainWindow::resizeEvent(QResizeEvent*) { LayoutMainWindow(); }

void MainWindow::LayoutMainWindow() {
  instances_->hide();
  tabs_->setGeometry(5, 5, width() - 10, height() - 10);
  instances_->Rearrange();
  instances_->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (work_running_ == 0 && commands_running_ == 0) return event->accept();
  event->ignore();
  if (work_running_ > 0 && !close_pending_) {
    // The work goes on while the person answers; "No" lets it go on.
    if (QMessageBox::question(this, "Oxlip", "Work is still running. Cancel it and close Oxlip?",
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
      return;
    if (cancel_work_) cancel_work_();
  }
  close_pending_ = true;
}

void MainWindow::BeginWork() {
  if (work_running_++ == 0) setEnabled(false);
}

void MainWindow::EndWork() {
  if (work_running_ == 0 || --work_running_ > 0) return;
  setEnabled(true);
  CloseWhenIdle();
}

void MainWindow::RunCommand(const std::function<void()>& command) {
  ++commands_running_;
  command();
  --commands_running_;
  CloseWhenIdle();
}

void MainWindow::CloseWhenIdle() {
  if (close_pending_ && work_running_ == 0 && commands_running_ == 0)
    QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::Refresh(app::ListKind list) {
  switch (list) {
    case app::ListKind::kVersions:
      FillVersionList();
      break;
    case app::ListKind::kMods:
      FillModList();
      break;
    case app::ListKind::kInstances:
      FillInstanceList();
      break;
  }
}

void MainWindow::FillVersionList() {
  std::vector<QStringList> rows;
  for (const VersionEntry& entry : state_.versions)
    rows.push_back({Text(entry.File), Text(entry.Version), Text(platform::FormatDate(entry.Date))});
  versions_->Fill(rows);
}

void MainWindow::FillModList() {
  std::vector<QStringList> rows;
  for (const ModRecord& mod : state_.mods) rows.push_back({Text(mod.Name), Text(mod.Version)});
  mods_->Fill(rows);
}

void MainWindow::FillInstanceList() {
  instances_->ClearAll();
  default_image_ = -1;
  for (Instance* record : state_.instance_list) AddInstanceRow(-1, *record);
  // The records' own icons may still be coming.
  icon_timer_.start(kIconIntervalMs);
}

// The instances that show the default icon share one image: thousands of copies of it would
// fill the memory.
void MainWindow::AddInstanceRow(int row, Instance& record) {
  const image::Image* icon = record.Icon.image();
  if (!icon || !record.Icon.IsDefault())
    return instances_->AddInstanceItem(row, Text(record.Name), &record, icon, 0);
  if (default_image_ < 0) default_image_ = instances_->AddSharedImage(*icon);
  instances_->AddInstanceItem(row, Text(record.Name), &record, nullptr, default_image_);
}

void MainWindow::RefreshInstanceRow(int row, app::RowChange change) {
  Instance* record = app::InstanceAtRow(state_, row);
  switch (change) {
    case app::RowChange::kAdded:
      if (record) AddInstanceRow(row, *record);
      break;
    case app::RowChange::kEdited:
      if (!record || !instances_->item(row)) break;
      instances_->item(row)->setText(Text(record->Name));
      if (const image::Image* icon = record->Icon.image())
        instances_->ReplaceInstanceIcon(row, *icon);
      break;
    case app::RowChange::kRemoved:
      instances_->RemoveRow(row);
      break;
  }
}

void MainWindow::SelectInstanceRow(int row) {
  QListWidgetItem* item = instances_->item(row);
  if (!item) return;
  instances_->setFocus();
  instances_->setCurrentItem(item);
  instances_->scrollToItem(item);
}

}  // namespace oxlip::gui

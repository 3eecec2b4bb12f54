#include "gui/qt_ui.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <atomic>
#include <thread>
#include <utility>

#include "gui/file_requester.h"
#include "gui/instance_dialog.h"
#include "gui/login_dialog.h"
#include "gui/mod_dialog.h"
#include "gui/restore_dialog.h"
#include "platform/shell.h"

namespace oxlip::gui {

QtUi::QtUi(MainWindow* window) : window_(window), status_sink_(this) {
  window_->set_cancel_work([this] { CancelRunningWork(); });
}

QtUi::~QtUi() {
  window_->set_cancel_work(nullptr);
  CloseStatusWindow();
  for (GameLogWindow* log : game_logs()) delete log;
}

void QtUi::CancelRunningWork() {
  status_sink_.Cancel();
  if (progress_sink_) progress_sink_->Cancel();
}

// Boxes, requesters, status and progress windows asked for while a dialog is open belong to
// that dialog, so they show over it and can be answered.
QWidget* QtUi::Owner() const {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : window_;
}

void QtUi::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox::information(Owner(), QString::fromStdString(title), QString::fromStdString(text));
}

bool QtUi::ShowOffer(const std::string& title, const std::string& text, const std::string& action) {
  QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok, Owner());
  QAbstractButton* offered = box.addButton(QString::fromStdString(action), QMessageBox::AcceptRole);
  box.exec();
  return box.clickedButton() == offered;
}

void QtUi::ShowStatusWindow(const std::string& title, const std::string& text, bool hide_progress) {
  bool opened = !status_;
  if (opened) {
    window_->BeginWork();
    status_ = new StatusWindow(Owner(), "Oxlip");
    status_sink_.Reset();
    if (window_->closing()) status_sink_.Cancel();
    status_sink_.set_window(status_);
    connect(status_, &StatusWindow::CancelClicked, this, [this] { status_sink_.Cancel(); });
    status_->show();
  }
  status_->first_text()->setText(QString::fromStdString(title));
  status_->second_text()->setText(QString::fromStdString(text));
  status_->bar()->setVisible(!hide_progress);
  // The work that follows usually runs on this thread: draw the window before it starts.
  if (opened) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  status_->repaint();
}

void QtUi::CloseStatusWindow() {
  if (!status_) return;
  status_sink_.set_window(nullptr);
  delete status_;
  window_->EndWork();
}

// The window keeps drawing and answering while the work runs, and nothing polls: the worker
// wakes this thread when it is done. Events are handled by hand rather than in an event loop,
// since once Qt is asked to quit every loop entered returns at once.
int QtUi::RunOnWorker(const std::function<int()>& work) {
  std::atomic<int> result{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = work();
    done = true;
    QMetaObject::invokeMethod(
        this, [] {}, Qt::QueuedConnection);
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  worker.join();
  return result;
}

int QtUi::RunWithProgress(const std::string& title, const std::string& text,
                          const std::function<int(base::ProgressSink&)>& work) {
  window_->BeginWork();
  StatusWindow progress(Owner(), QString::fromStdString(title));
  progress.first_text()->setText(QString::fromStdString(text));
  progress.OfferCancel(true);
  progress.show();
  StatusProgressSink sink(this);
  if (window_->closing()) sink.Cancel();
  sink.set_window(&progress);
  connect(&progress, &StatusWindow::CancelClicked, this, [&sink] { sink.Cancel(); });
  StatusProgressSink* outer = std::exchange(progress_sink_, &sink);
  int result = RunOnWorker([&] { return work(sink); });
  progress_sink_ = outer;
  sink.set_window(nullptr);
  window_->EndWork();
  return result;
}

int QtUi::RunBehindStatus(const std::function<int(base::ProgressSink&)>& work) {
  window_->BeginWork();
  int result = RunOnWorker([&] { return work(status_sink_); });
  window_->EndWork();
  return result;
}

int QtUi::RunCancellableBehindStatus(const std::function<int(base::ProgressSink&)>& work) {
  if (status_) status_->OfferCancel(true);
  int result = RunBehindStatus(work);
  if (status_) status_->OfferCancel(false);
  return result;
}

void QtUi::ListChanged(app::ListKind list) { window_->Refresh(list); }

void QtUi::InstanceRowChanged(int row, app::RowChange change) {
  window_->RefreshInstanceRow(row, change);
}

void QtUi::SelectInstanceRow(int row) { window_->SelectInstanceRow(row); }

app::RowRange QtUi::InstanceRowsInView() { return window_->instance_list()->RowsInView(); }

}  // namespace oxlip::gui

namespace oxlip::gui {

std::string QtUi::OpenFileDialog(const std::string& title, const std::string& filters,
                                 int selected_filter) {
  return RunFileRequester(Owner(), {title, "", filters, selected_filter});
}

std::optional<std::string> QtUi::InputBox(const std::string& title, const std::string& prompt,
                                          const std::string& preset) {
  bool ok = false;
  QString text =
      QInputDialog::getText(Owner(), QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(preset), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

void QtUi::OpenFolder(const std::string& path) { platform::OpenWithShell(path); }

bool QtUi::RunLoginDialog(app::LoginForm& form) {
  LoginWindow dialog(Owner(), form);
  dialog.exec();
  return form.accepted();
}

bool QtUi::RunModDialog(app::ModDialogModel& model) {
  ModDialog dialog(Owner(), model);
  return dialog.exec() == QDialog::Accepted;
}

// Modal over the whole program: the main window takes no input until the dialog has given
// its result. Disabling the window would disable the dialog it owns as well.
bool QtUi::RunInstanceDialog(app::InstanceDialogModel& model) {
  InstanceConfigDialog dialog(Owner(), model);
  dialog.setWindowModality(Qt::ApplicationModal);
  return dialog.exec() == QDialog::Accepted;
}

bool QtUi::RunRestoreDialog(app::RestoreChoiceModel& model) {
  RestoreDialog dialog(Owner(), model);
  return dialog.exec() == QDialog::Accepted;
}

std::vector<GameLogWindow*> QtUi::game_logs() const {
  std::vector<GameLogWindow*> open;
  for (const QPointer<GameLogWindow>& log : logs_)
    if (log) open.push_back(log);
  return open;
}

// One window per log: asking again brings the open one forward.
void QtUi::ShowGameLog(const std::string& title, const std::string& log_file) {
  std::erase_if(logs_, [](const QPointer<GameLogWindow>& log) { return !log; });
  for (GameLogWindow* log : game_logs()) {
    if (log->log_file() != log_file) continue;
    log->showNormal();
    log->raise();
    log->activateWindow();
    return;
  }
  auto* log = new GameLogWindow(QString::fromStdString(title), log_file);
  logs_.emplace_back(log);
  // A window of its own, so the window manager would put it anywhere: over the main window.
  log->move(window_->geometry().center() - log->rect().center());
  log->show();
}

}  // namespace oxlip::gui

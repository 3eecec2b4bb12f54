#include "gui/qt_ui.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <atomic>
#include <thread>

namespace oxlip::gui {

QtUi::QtUi(MainWindow* window) : window_(window), status_sink_(this) {}

QtUi::~QtUi() { CloseStatusWindow(); }

void QtUi::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox::information(window_, QString::fromStdString(title), QString::fromStdString(text));
}

void QtUi::ShowStatusWindow(const std::string& title, const std::string& text, bool hide_progress) {
  bool opened = !status_;
  if (opened) {
    window_->BeginWork();
    status_ = new StatusWindow(window_, "Oxlip");
    status_sink_.set_window(status_);
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

// The worker ends the nested event loop itself, so the window keeps drawing and answering
// while it runs and nothing polls.
int QtUi::RunWithProgress(const std::string& title, const std::string& text,
                          const std::function<int(ProgressSink&)>& work) {
  window_->BeginWork();
  StatusWindow progress(window_, QString::fromStdString(title));
  progress.first_text()->setText(QString::fromStdString(text));
  progress.show();
  StatusProgressSink sink(this);
  sink.set_window(&progress);

  QEventLoop loop;
  std::atomic<int> result{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = work(sink);
    done = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // Only the worker ends the wait; a loop ended from elsewhere is entered again.
  while (!done) loop.exec();
  worker.join();
  sink.set_window(nullptr);
  window_->EndWork();
  return result;
}

void QtUi::ListChanged(ListKind list) { window_->Refresh(list); }

}  // namespace oxlip::gui

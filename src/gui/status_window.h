#pragma once
// The status window of long work, and the progress sink that feeds it.
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <mutex>

#include "base/progress.h"

namespace oxlip::gui {

// The small window long work shows: two centred texts and a progress bar, centred on its
// owner.
class StatusWindow : public QDialog {
  Q_OBJECT

 public:
  StatusWindow(QWidget* owner, const QString& title);
  // The work it shows decides when it closes; Escape and the close box do nothing.
  void reject() override {}
  QLabel* first_text() const { return first_; }
  QLabel* second_text() const { return second_; }
  QProgressBar* bar() const { return bar_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* first_;
  QLabel* second_;
  QProgressBar* bar_;
};

// Reports into whichever status window is open; callable from any thread, as the update's
// worker does. Calls made while no window is open are dropped.
class StatusProgressSink : public ProgressSink {
 public:
  explicit StatusProgressSink(QObject* gui_thread_object) : context_(gui_thread_object) {}
  void set_window(StatusWindow* window) {
    std::lock_guard lock(mutex_);
    window_ = window;
  }
  void SetName(const std::string& text) override;
  void SetTime(const std::string& text) override;
  void SetPercent(int percent) override;

 private:
  template <class F>
  void OnGuiThread(F change);
  QObject* context_;
  std::mutex mutex_;  // the window changes on the GUI thread while workers report
  QPointer<StatusWindow> window_;
};

}  // namespace oxlip::gui

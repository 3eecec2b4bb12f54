#pragma once
// The status window of long work, and the progress sink that feeds it.
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
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
  QPushButton* cancel_button() const { return cancel_; }
  // Shows the Cancel button below the bar (the window grows to hold it), or hides it again.
  // Once clicked it stays disabled while it shows.
  void OfferCancel(bool offered);

 signals:
  void CancelClicked();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* first_;
  QLabel* second_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};

// Reports into whichever status window is open; callable from any thread, as the update's
// worker does. Calls made while no window is open are dropped.
class StatusProgressSink : public base::ProgressSink {
 public:
  explicit StatusProgressSink(QObject* gui_thread_object) : context_(gui_thread_object) {}
  void set_window(StatusWindow* window) {
    std::lock_guard lock(mutex_);
    window_ = window;
  }
  void SetName(const std::string& text) override;
  void SetTime(const std::string& text) override;
  void SetPercent(int percent) override;
  bool Cancelled() override { return cancelled_; }
  // The person's Cancel, for the work that reports here; Reset when new work begins.
  void Cancel() { cancelled_ = true; }
  void Reset() { cancelled_ = false; }

 private:
  template <class F>
  void OnGuiThread(F change);
  QObject* context_;
  std::mutex mutex_;  // the window changes on the GUI thread while workers report
  QPointer<StatusWindow> window_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace oxlip::gui

#include "gui/status_window.h"

#include <QCloseEvent>
#include <QThread>

namespace oxlip::gui {
namespace {

QLabel* CentredText(QWidget* parent, int y) {
  auto* label = new QLabel(parent);
  label->setGeometry(5, y, 290, 20);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

StatusWindow::StatusWindow(QWidget* owner, const QString& title) : QDialog(owner) {
  setWindowTitle(title);
  setFixedSize(300, 80);
  first_ = CentredText(this, 5);
  second_ = CentredText(this, 30);
  bar_ = new QProgressBar(this);
  bar_->setGeometry(5, 55, 290, 20);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setGeometry(110, 82, 80, 25);
  cancel_->hide();
  connect(cancel_, &QPushButton::clicked, this, [this] {
    cancel_->setEnabled(false);
    emit CancelClicked();
  });
  if (owner) move(owner->geometry().center() - QPoint(150, 40));
}

void StatusWindow::OfferCancel(bool offered) {
  if (offered == cancel_->isVisible()) return;
  cancel_->setEnabled(true);
  cancel_->setVisible(offered);
  setFixedSize(300, offered ? 112 : 80);
}

void StatusWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

template <class F>
void StatusProgressSink::OnGuiThread(F change) {
  // A copy, so a change still queued when the sink or the window has gone finds nothing.
  QPointer<StatusWindow> window;
  {
    std::lock_guard lock(mutex_);
    window = window_;
  }
  // Work on the GUI thread keeps the event loop from drawing, so the change is drawn at once.
  auto apply = [window, change] {
    if (!window) return;
    change(*window);
    window->repaint();
  };
  if (QThread::currentThread() == context_->thread())
    apply();
  else
    QMetaObject::invokeMethod(context_, apply, Qt::QueuedConnection);
}

void StatusProgressSink::SetName(const std::string& text) {
  QString value = QString::fromStdString(text);
  OnGuiThread([value](StatusWindow& w) { w.first_text()->setText(value); });
}

void StatusProgressSink::SetTime(const std::string& text) {
  QString value = QString::fromStdString(text);
  OnGuiThread([value](StatusWindow& w) { w.second_text()->setText(value); });
}

void StatusProgressSink::SetPercent(int percent) {
  OnGuiThread([percent](StatusWindow& w) { w.bar()->setValue(percent); });
}

}  // namespace oxlip::gui

#include "gui/game_log_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

#include "launch/game_log.h"
#include "platform/shell.h"

namespace oxlip::gui {

GameLogWindow::GameLogWindow(const QString& title, const std::string& log_file)
    : QWidget(nullptr, Qt::Window), log_file_(log_file) {
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
  // The program ends with its main window, also while logs are open.
  setAttribute(Qt::WA_QuitOnClose, false);
  runs_ = new QTabBar(this);
  runs_->addTab("Latest run");
  runs_->addTab("Run before");
  runs_->setExpanding(false);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setPlaceholderText("Nothing logged yet.");
  open_ = new QPushButton("Open in editor", this);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(open_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(runs_);
  layout->addWidget(text_);
  layout->addLayout(bottom);
  resize(720, 460);

  connect(runs_, &QTabBar::currentChanged, this, &GameLogWindow::ShowRun);
  connect(open_, &QPushButton::clicked, this,
          [this] { platform::OpenWithShell(follower_->path()); });
  connect(&timer_, &QTimer::timeout, this, &GameLogWindow::Poll);
  ShowRun(0);
  timer_.start(kPollMs);
}

void GameLogWindow::ShowRun(int run) {
  follower_ = std::make_unique<launch::LogFollower>(run == 0 ? log_file_
                                                             : launch::PreviousGameLog(log_file_));
  text_->clear();
  Poll();
}

void GameLogWindow::Poll() {
  launch::LogFollower::Change change = follower_->Poll();
  if (!change.reset && change.appended.empty()) return;
  QScrollBar* bar = text_->verticalScrollBar();
  bool at_end = bar->value() == bar->maximum();
  if (change.reset) {
    text_->setPlainText(QString::fromUtf8(follower_->text()));
  } else {
    QTextCursor end(text_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromUtf8(change.appended));
  }
  if (at_end || change.reset) bar->setValue(bar->maximum());
}

}  // namespace oxlip::gui

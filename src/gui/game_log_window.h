#pragma once
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "launch/log_follower.h"

namespace oxlip::gui {

// A game's log, followed while the game writes it: "game.log" of the latest run, the run
// before ("game.log.1") on the second tab, and a button that opens the shown file in the
// desktop's editor. A window of its own: long work that holds the main window leaves it be.
class GameLogWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPollMs = 250;

  GameLogWindow(const QString& title, const std::string& log_file);

  const std::string& log_file() const { return log_file_; }
  QPlainTextEdit* text() const { return text_; }
  QTabBar* runs() const { return runs_; }
  QPushButton* open_button() const { return open_; }

 private:
  void ShowRun(int run);
  // Adds what was written since the last poll, staying at the end when the view was there.
  void Poll();

  std::string log_file_;
  std::unique_ptr<launch::LogFollower> follower_;
  QTabBar* runs_;
  QPlainTextEdit* text_;
  QPushButton* open_;
  QTimer timer_;
};

}  // namespace oxlip::gui

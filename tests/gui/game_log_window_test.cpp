// The log window over a real game's log: it shows what the fake game prints while the window is
// open, the run before a click away; the Ui port keeps one window per log.
#include "gui/game_log_window.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QGuiApplication>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "app/start_minecraft.h"
#include "gui_fixture.h"
#include "launch/game_log.h"
#include "platform/env.h"
#include "platform/path.h"
#include "support/game_fixture.h"
#include "support/scoped_environment.h"
#include "support/scripted_ui.h"

namespace oxlip::gui {
namespace {

namespace fs = std::filesystem;

// For the README: with the frame a window manager drew, when there is one.
void Photograph(QWidget& window, const std::string& display, const std::string& file) {
  if (QGuiApplication::platformName() != "xcb") {
    window.grab().save(QString::fromStdString(file));
    return;
  }
  QTest::qWait(500);  // the frame drawn
  QRect frame = window.frameGeometry();
  std::string crop = std::to_string(frame.width()) + "x" + std::to_string(frame.height()) + "+" +
                     std::to_string(frame.x()) + "+" + std::to_string(frame.y());
  std::system(
      ("import -display '" + display + "' -window root -crop " + crop + " '" + file + "'").c_str());
}

bool Shows(GameLogWindow& window, const QString& text) {
  return QTest::qWaitFor([&] { return window.text()->toPlainText().contains(text); }, 120000);
}

class GameLogWindowTest : public test::InTempFolder {
 protected:
  void TearDown() override {
    if (game_.process && !game_.process->HasEnded()) ::kill(game_.process->id(), SIGKILL);
  }
  launch::RunningGame game_;
};

TEST_F(GameLogWindowTest, ShowsALineTheGamePrintsAfterTheWindowOpenedAndTheRunBefore) {
  base::GlobalSettings settings;
  settings.StartFolder = dir();
  settings.InstancesDir = dir() + "Instances/";
  Instance record;
  record.Name = "Survival";
  record.Folder = "survival";
  record.CustomJava = 1;
  record.JavaPath = test::JavaFolder();
  record.UseLauncher = 1;  // no login
  test::LayOutGameFolder(dir() + "Instances/survival");
  std::string log = launch::GameLogFile(settings, record);
  test::WriteFile(platform::NativePath(log),
                  "the run before\n");  // the start moves it aside
  test::ScopedEnvironment seconds("OXLIP_FIXTURE_SECONDS", "300");
  std::string display = platform::GetEnvironment("DISPLAY");
  test::ScopedEnvironment no_display("DISPLAY",
                                     "");  // the game without a window
  test::ScopedEnvironment says("OXLIP_FIXTURE_SAY", dir() + "says.txt");
  test::ScriptedUi ui;
  app::GameStart start{settings, ui, game_};
  ASSERT_GT(StartMinecraft(start, record), 0);

  GameLogWindow window("Game log - Survival", log);
  window.show();
  ASSERT_TRUE(Shows(window, "started with")) << window.text()->toPlainText().toStdString();
  // Complete once it has its name: the game reads it whole.
  test::WriteFile(dir() + "says.tmp", "a line printed while the window was open\n");
  fs::rename(dir() + "says.tmp", dir() + "says.txt");
  EXPECT_TRUE(Shows(window, "a line printed while the window was open"))
      << window.text()->toPlainText().toStdString();
  if (const char* shots = std::getenv("OXLIP_SCREENSHOTS"))
    Photograph(window, display, std::string(shots) + "/game-log.png");

  window.runs()->setCurrentIndex(1);
  EXPECT_EQ(window.text()->toPlainText(), "the run before\n");
  window.runs()->setCurrentIndex(0);
  EXPECT_TRUE(window.text()->toPlainText().contains("a line printed while the window was open"));
}

// The watch's timer tells of a bad end, and the offer's own button alone opens the log. The Ui
// port keeps one window per log, which closes with it and does not end the program when closed.
TEST_F(GameLogWindowTest, ABadEndIsToldAndTheLogOpensOnRequestOncePerLog) {
  app::AppState state;
  MainWindow main(state);
  QPointer<GameLogWindow> first;
  {
    QtUi ui(&main);
    main.set_ui(&ui);
    for (bool take : {false, true}) {
      state.game.ended = launch::GameEnd{3, 0, false, "Survival", dir() + "a/game.log"};
      QString said;
      test::WhenUp<QMessageBox>([&](QMessageBox* box) {
        said = box->text();
        for (QAbstractButton* button : box->buttons())
          if ((button != box->button(QMessageBox::Ok)) == take) return button->click();
      });
      ASSERT_TRUE(QTest::qWaitFor([&] { return !state.game.ended && !said.isEmpty(); }, 60000));
      EXPECT_TRUE(said.contains("status 3")) << said.toStdString();
      ASSERT_EQ(ui.game_logs().size(), take ? 1u : 0u);
    }
    for (const char* log : {"b/game.log", "a/game.log"}) ui.ShowGameLog(log, dir() + log);
    ASSERT_EQ(ui.game_logs().size(), 2u);
    first = ui.game_logs()[0];
    EXPECT_EQ(first->log_file(), dir() + "a/game.log");
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->testAttribute(Qt::WA_QuitOnClose));
    ui.game_logs()[1]->close();  // deletes itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ui.game_logs().size(), 1u);
    main.set_ui(nullptr);
  }
  EXPECT_TRUE(first.isNull());
}

}  // namespace
}  // namespace oxlip::gui

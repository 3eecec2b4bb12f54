// A first run of the whole program in a virtual X display with a window manager, driven with
// Qt's test events: a new instance made through the dialog, started and logged in, its game
// window maximised, then the program closed. Screenshots of each step go to the build folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <vector>

#include "gui/instance_dialog.h"
#include "gui/login_dialog.h"
#include "gui/program.h"
#include "platform/window_watch.h"
#include "support/fixture_paths.h"
#include "support/mirror_process.h"
#include "support/temp_folder.h"

namespace oxlip::gui {
namespace {

// One step of the run: true once it is done; it is tried again on every tick until then.
using Step = std::function<bool(ProgramParts&)>;

void Screenshot(const std::string& name) {
  for (QWidget* window : QApplication::topLevelWidgets()) window->repaint();
  QApplication::processEvents();
  std::string folder = std::string(OXLIP_BINARY_DIR) + "/screenshots/";
  std::system(("mkdir -p '" + folder + "' && import -window root '" + folder + "first-run-" + name +
               ".png'")
                  .c_str());
}

// Actions that open menus or dialogs, or run commands, wait in their own event loops: they run
// after the step has returned, so the steps keep ticking meanwhile.
void Later(std::function<void()> action) { QTimer::singleShot(0, qApp, std::move(action)); }

template <class Dialog>
Dialog* OpenDialog() {
  return qobject_cast<Dialog*>(QApplication::activeModalWidget());
}

class FirstRun : public test::InTempFolder {
 protected:
  void SetUp() override {
    if (std::getenv("OXLIP_XVFB") == nullptr)
      GTEST_SKIP() << "runs in a virtual display with a window manager (ctest gui_first_run)";
    test::WriteFile(dir() + "users.txt", "demo:demo\n");
    mirror_ = std::make_unique<test::MirrorProcess>(
        test::FixtureRoot(), std::vector<std::string>{"--users", dir() + "users.txt"});
    ASSERT_GT(mirror_->port(), 0);
    test::WriteFile(
        dir() + "Oxlip.ini",
        "MCURL = " + mirror_->Url("download/") + "\r\nMCRESURL = " + mirror_->Url("resources/") +
            "\r\nMCASSETSURL = " + mirror_->Url("assets/") +
            "\r\nMCLOGINURL = " + mirror_->Url("login?user=%1%&password=%2%&version=%3%") + "\r\n");
    setenv("OXLIP_FIXTURE_SECONDS", "60", 1);
  }

  // Runs the program, taking the steps in order from inside its event loop; a step not done
  // within a minute ends the run.
  void Run(std::vector<Step> steps) {
    static char name[] = "oxlip";
    char* argv[] = {name, nullptr};
    int argc = 1;
    RunProgram(argc, argv, [&](ProgramParts& parts) {
      auto* ticker = new QTimer(&parts.window);
      auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
      QObject::connect(ticker, &QTimer::timeout, [&, ticker, deadline]() mutable {
        if (done_ < steps.size() && steps[done_](parts)) {
          ++done_;
          deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        }
        if (done_ == steps.size() || std::chrono::steady_clock::now() > deadline) {
          ticker->stop();
          if (parts.state.game.process) ::kill(parts.state.game.process->id(), SIGTERM);
          QApplication::closeAllWindows();
          parts.window.close();
        }
      });
      ticker->start(100);
    });
  }

  std::unique_ptr<test::MirrorProcess> mirror_;
  size_t done_ = 0;
};

TEST_F(FirstRun, AnInstanceIsMadeStartedAndRememberedInTheOrder) {
  std::string folder;
  Run({
      [](ProgramParts& p) {
        Screenshot("1-started");
        Later([&p] { emit p.window.instance_list()->customContextMenuRequested(QPoint(20, 20)); });
        return true;
      },
      [](ProgramParts&) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return false;
        for (QAction* action : menu->actions())
          if (action->text() == "New instance") menu->setActiveAction(action);
        Later([menu] { QTest::keyClick(menu, Qt::Key_Return); });
        return true;
      },
      [](ProgramParts&) {
        auto* dialog = OpenDialog<InstanceConfigDialog>();
        if (!dialog || !dialog->isVisible()) return false;
        dialog->title_field()->selectAll();
        QTest::keyClicks(dialog->title_field(), "First world");
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
          if (box->text() == "Maximize window") box->click();
        Screenshot("2-new-instance");
        Later([dialog] { QTest::mouseClick(dialog->ok_button(), Qt::LeftButton); });
        return true;
      },
      [&](ProgramParts& p) {
        if (p.state.instance_list.size() != 1 || QApplication::activeModalWidget()) return false;
        folder = p.state.instance_list[0]->Folder;
        Screenshot("3-instance-listed");
        QListWidgetItem* item = p.window.instance_list()->item(0);
        p.window.instance_list()->setCurrentItem(item);
        Later([&p, item] { emit p.window.instance_list()->itemDoubleClicked(item); });
        return true;
      },
      [](ProgramParts&) {
        auto* login = OpenDialog<LoginWindow>();
        if (!login || !login->isVisible()) return false;
        QTest::keyClicks(login->name_field(), "demo");
        QTest::keyClicks(login->password_field(), "demo");
        Screenshot("4-login");
        Later([login] { QTest::keyClick(login->password_field(), Qt::Key_Return); });
        return true;
      },
      [](ProgramParts& p) {
        if (!p.state.game.process) return false;
        auto display = platform::DisplayConnection::Connect();
        if (!display) return false;
        auto window = display->FindWindow({"Minecraft", "", p.state.game.process->id()});
        if (!window || !display->IsMaximized(*window)) return false;
        Screenshot("5-game-maximised");
        return true;
      },
  });
  EXPECT_EQ(done_, 6u) << "the run stopped at step " << done_ + 1;
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(test::ReadFile(dir() + "Instances/sort.ini"), folder + "\r\n");
  EXPECT_NE(test::ReadFile(dir() + "Instances/" + folder + "/game.log").size(), 0u);
  EXPECT_NE(test::ReadFile(dir() + "Instances/" + folder + "/settings.ini").find("Maximize = 1"),
            std::string::npos);
}

}  // namespace
}  // namespace oxlip::gui

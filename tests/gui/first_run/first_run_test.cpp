// README's walk-through on the whole program in a virtual X display with a window manager, driven
// with Qt's test events: a new instance made through the dialog, started and logged in, its game
// window maximised and its log shown; the sample mod imported and installed through "Config"; a
// backup, restored; a clone and a delete into the trash; then the program closed. Screenshots of
// each step go to the build folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "gui/game_log_window.h"
#include "gui/instance_dialog.h"
#include "gui/login_dialog.h"
#include "gui/mod_dialog.h"
#include "gui/program.h"
#include "gui/restore_dialog.h"
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
  auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
  return dialog && dialog->isVisible() ? dialog : nullptr;
}

// The right-click menu of a list at a point of its viewport.
void OpenMenu(QAbstractItemView* list, QPoint where) {
  Later([list, where] { emit list->customContextMenuRequested(where); });
}

// The instance row named `name`, selected, with its menu open.
bool OpenInstanceMenu(ProgramParts& p, const QString& name) {
  p.window.tabs()->setCurrentIndex(0);
  QListWidget* list = p.window.instance_list();
  QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
  if (found.size() != 1) return false;
  list->setCurrentItem(found[0]);
  OpenMenu(list, list->visualItemRect(found[0]).center());
  return true;
}

// Chooses `text` in the open menu with the keyboard; a submenu of that name is opened and its item
// of the same name chosen on a later tick.
bool Pick(const QString& text) {
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (!menu) return false;
  for (QAction* action : menu->actions()) {
    if (action->text() != text) continue;
    menu->setActiveAction(action);
    if (action->menu()) {
      QTest::keyClick(menu, Qt::Key_Right);
      return false;
    }
    Later([menu] { QTest::keyClick(menu, Qt::Key_Return); });
    return true;
  }
  return false;
}

// No dialog or menu is open and no work holds the window: the last command has ended.
bool Idle(ProgramParts& p) {
  return !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
         p.window.isEnabled();
}

// Once `ready`, opens the menu of the instance `name` and chooses `item` in it.
Step FromMenu(const QString& name, const QString& item, Step ready = Idle) {
  return [=, opened = false](ProgramParts& p) mutable {
    if (opened) return Pick(item);
    opened = ready(p) && OpenInstanceMenu(p, name);
    return false;
  };
}

// Once a dialog D is up and `fill` is done with it, photographs it and clicks its `button`.
template <class D, class Button>
Step Answer(const std::string& shot, Button button, std::function<bool(D*)> fill = nullptr) {
  return [=](ProgramParts&) {
    D* dialog = OpenDialog<D>();
    if (!dialog || (fill && !fill(dialog))) return false;
    if (!shot.empty()) Screenshot(shot);
    QWidget* target = std::invoke(button, dialog);
    Later([target] { QTest::mouseClick(target, Qt::LeftButton); });
    return true;
  };
}

class FirstRun : public test::InTempFolder {
 protected:
  void SetUp() override {
    if (std::getenv("OXLIP_XVFB") == nullptr)
      GTEST_SKIP() << "runs in a virtual display with a window manager (ctest "
                      "gui_first_run)";
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
    // The trash of this run, on the data folder's own file system.
    setenv("XDG_DATA_HOME", (dir() + "xdg").c_str(), 1);
    // The sample mod beside the data folder, as scripts/run lays it out.
    std::filesystem::copy_file(std::string(OXLIP_BINARY_DIR) + "/demo/Sample Mod.zip",
                               dir() + "Sample Mod.zip");
  }

  // Runs the program, taking the steps in order from inside its event loop; a step not done within
  // a minute ends the run.
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

TEST_F(FirstRun, ReadmeWalkThroughFromANewInstanceToItsCloneInTheTrash) {
  std::string folder, mod;
  auto instance_file = [&](const std::string& name) {
    return dir() + "Instances/" + folder + "/" + name;
  };
  // Once no command runs and the instance has the file `name`.
  auto has = [&](const std::string& name) {
    return [&, name](ProgramParts& p) {
      return Idle(p) && std::filesystem::exists(name.starts_with("/") ? name : instance_file(name));
    };
  };
  Run({
      [](ProgramParts& p) {
        Screenshot("1-started");
        OpenMenu(p.window.instance_list(), QPoint(20, 20));
        return true;
      },
      [](ProgramParts&) { return Pick("New instance"); },
      Answer<InstanceConfigDialog>("2-new-instance", &InstanceConfigDialog::ok_button,
                                   [](InstanceConfigDialog* dialog) {
                                     dialog->title_field()->selectAll();
                                     QTest::keyClicks(dialog->title_field(), "First world");
                                     for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                                       if (box->text() == "Maximize window") box->click();
                                     return true;
                                   }),
      [&](ProgramParts& p) {
        if (p.state.instance_list.size() != 1 || !Idle(p)) return false;
        folder = p.state.instance_list[0]->Folder;
        Screenshot("3-instance-listed");
        QListWidgetItem* item = p.window.instance_list()->item(0);
        p.window.instance_list()->setCurrentItem(item);
        Later([&p, item] { emit p.window.instance_list()->itemDoubleClicked(item); });
        return true;
      },
      [](ProgramParts&) {
        auto* login = OpenDialog<LoginWindow>();
        if (!login) return false;
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
        ::kill(p.state.game.process->id(), SIGTERM);
        return true;
      },
      // The game's log, from the instance's menu: what the game printed.
      FromMenu("First world", "Show game log",
               [](ProgramParts& p) { return !p.state.game.process && Idle(p); }),
      [](ProgramParts&) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
          auto* log = qobject_cast<GameLogWindow*>(window);
          if (!log || !log->isVisible() || !log->text()->toPlainText().contains("started with"))
            continue;
          Screenshot("5-game-log");
          log->close();
          return true;
        }
        return false;
      },
      // Step 4: the sample mod imported, then installed through "Config".
      [](ProgramParts& p) {
        if (p.state.game.process) return false;  // forgotten once it has ended
        p.window.tabs()->setCurrentIndex(2);
        OpenMenu(p.window.mod_list(), QPoint(20, 20));
        return true;
      },
      [](ProgramParts&) { return Pick("Import mod"); },
      [&](ProgramParts&) {
        auto* requester = OpenDialog<QFileDialog>();
        auto* name = requester ? requester->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (!name) return false;
        // Set whole rather than typed: typing opens the completion list, which takes the Return.
        name->setText(QString::fromStdString(dir() + "Sample Mod.zip"));
        Later([name] { QTest::keyClick(name, Qt::Key_Return); });
        return true;
      },
      Answer<ModDialog>("6-import-mod", &ModDialog::ok_button),
      FromMenu("First world", "Config",
               [&](ProgramParts& p) {
                 if (p.state.mods.size() != 1 || !Idle(p)) return false;
                 mod = p.state.mods[0].Dir;
                 return true;
               }),
      Answer<InstanceConfigDialog>(
          "7-config-mod", &InstanceConfigDialog::ok_button,
          [](InstanceConfigDialog* dialog) {
            dialog->tabs()->setCurrentIndex(2);
            QTreeWidget* available = dialog->available_list();
            if (dialog->installed_list()->topLevelItemCount() == 0) {
              QPoint row = available->visualItemRect(available->topLevelItem(0)).center();
              QTest::mouseDClick(available->viewport(), Qt::LeftButton, {}, row);
            }
            return dialog->installed_list()->topLevelItemCount() == 1;
          }),
      // Step 5: a backup, restored (the game folder it replaces goes to the trash), a clone, and
      // the clone deleted into the trash.
      FromMenu("First world", "Backup", has(".minecraft/resources/oxlip-sample.txt")),
      FromMenu("First world", "Restore backup", has("backup")),
      Answer<RestoreDialog>("8-restore-backup", &RestoreDialog::restore_button),
      FromMenu("First world", "Clone", has(dir() + "xdg/Trash/files/.minecraft")),
      Answer<InstanceConfigDialog>("", &InstanceConfigDialog::ok_button),
      FromMenu("First world - copy", "Delete",
               [](ProgramParts& p) {
                 if (p.state.instance_list.size() != 2 || !Idle(p)) return false;
                 Screenshot("9-cloned");
                 return true;
               }),
      [](ProgramParts& p) { return p.state.instance_list.size() == 1 && Idle(p); },
  });
  EXPECT_EQ(done_, 21u) << "the run stopped at step " << done_ + 1;
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(test::ReadFile(dir() + "Instances/sort.ini"), folder + "\r\n");
  EXPECT_NE(test::ReadFile(instance_file("game.log")).size(), 0u);
  EXPECT_NE(test::ReadFile(instance_file("settings.ini")).find("Maximize = 1"), std::string::npos);
  EXPECT_EQ(test::ReadFile(instance_file("mods.ini")), mod + "\r\n");
  int backups = 0;
  for (const auto& entry : std::filesystem::directory_iterator(instance_file("backup")))
    backups += entry.path().extension() == ".7z";
  EXPECT_EQ(backups, 1);
  // The restore put the game folder back and the one it replaced into the trash.
  EXPECT_TRUE(std::filesystem::exists(instance_file(".minecraft/bin/minecraft.jar")));
  EXPECT_TRUE(std::filesystem::exists(dir() + "xdg/Trash/files/.minecraft/bin/minecraft.jar"));
  // The clone is in the trash, whole, with the sample mod's file.
  int trashed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir() + "xdg/Trash/files"))
    trashed += std::filesystem::exists(entry.path() / ".minecraft/resources/oxlip-sample.txt");
  EXPECT_EQ(trashed, 1);
}

}  // namespace
}  // namespace oxlip::gui

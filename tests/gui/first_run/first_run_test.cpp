// README's walk-through on the whole program in a virtual X display with a window manager, driven
// with Qt's test events: a new instance made through the dialog, started and logged in, its game
// window maximised; the sample mod imported and installed through "Config"; a backup, restored; a
// clone and a delete into the trash; then the program closed. Screenshots of each step go to the
// build folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "../gui_fixture.h"
#include "gui/instance_dialog.h"
#include "gui/login_dialog.h"
#include "gui/mod_dialog.h"
#include "gui/program.h"
#include "gui/restore_dialog.h"
#include "platform/window_watch.h"
#include "support/fixture_paths.h"
#include "support/mirror_process.h"

namespace oxlip::gui {
namespace {

namespace fs = std::filesystem;

// Whether `done` comes true within a minute, the events handled meanwhile.
bool Soon(const std::function<bool()>& done) { return QTest::qWaitFor(done, 60000); }

// Right-clicks `list` at `where` and chooses `item` in the menu with the keyboard (in its submenu
// of the same name when it has one). The command it runs has ended on return.
void Choose(QAbstractItemView* list, QPoint where, const QString& item) {
  test::WhenUp<QMenu>([item](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->text() != item) continue;
      menu->setActiveAction(action);
      QMenu* sub = action->menu();
      if (!sub) return QTest::keyClick(menu, Qt::Key_Return);
      QTest::keyClick(menu, Qt::Key_Right);
      for (QAction* inner : sub->actions())
        if (inner->text() == item) sub->setActiveAction(inner);
      return QTest::keyClick(sub, Qt::Key_Return);
    }
    ADD_FAILURE() << "no " << item.toStdString() << " in the menu";
    menu->close();
  });
  emit list->customContextMenuRequested(where);
}

// The same on the row of the instance `name`, selected first.
void ChooseFor(ProgramParts& p, const QString& name, const QString& item) {
  p.window.tabs()->setCurrentIndex(0);
  QListWidget* list = p.window.instance_list();
  QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << name.toStdString();
  list->setCurrentItem(found[0]);
  Choose(list, list->visualItemRect(found[0]).center(), item);
}

// Once the next dialog D is up: `fill`, a screenshot (unless `shot` is ""), a click on `button`.
template <class D, class Button>
void Answer(const std::string& shot, Button button, std::function<void(D*)> fill = nullptr) {
  test::WhenUp<D>([=](D* dialog) {
    if (fill) fill(dialog);
    if (!shot.empty()) test::Screenshot("first-run-" + shot);
    QTest::mouseClick(std::invoke(button, dialog), Qt::LeftButton);
  });
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
    // The trash of this run, on the data folder's own file system.
    setenv("XDG_DATA_HOME", (dir() + "xdg").c_str(), 1);
    // The sample mod beside the data folder, as scripts/run lays it out.
    fs::copy_file(std::string(OXLIP_BINARY_DIR) + "/demo/Sample Mod.zip", dir() + "Sample Mod.zip");
  }

  std::string InstanceFile(const std::string& name) {
    return dir() + "Instances/" + folder_ + "/" + name;
  }

  // The steps, each a command that has ended when it returns, from inside the program's event loop.
  void Walk(ProgramParts& p) {
    test::Screenshot("first-run-1-started");
    Answer<InstanceConfigDialog>("2-new-instance", &InstanceConfigDialog::ok_button,
                                 [](InstanceConfigDialog* dialog) {
                                   dialog->title_field()->selectAll();
                                   QTest::keyClicks(dialog->title_field(), "First world");
                                   for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                                     if (box->text() == "Maximize window") box->click();
                                 });
    Choose(p.window.instance_list(), QPoint(20, 20), "New instance");
    ASSERT_TRUE(Soon([&] { return p.state.instance_list.size() == 1; }));
    folder_ = p.state.instance_list[0]->Folder;
    test::Screenshot("first-run-3-instance-listed");

    test::WhenUp<LoginWindow>([](LoginWindow* login) {
      QTest::keyClicks(login->name_field(), "demo");
      QTest::keyClicks(login->password_field(), "demo");
      test::Screenshot("first-run-4-login");
      QTest::keyClick(login->password_field(), Qt::Key_Return);
    });
    QListWidgetItem* item = p.window.instance_list()->item(0);
    p.window.instance_list()->setCurrentItem(item);
    emit p.window.instance_list()->itemDoubleClicked(item);
    ASSERT_TRUE(Soon([&] { return p.state.game.process.has_value(); }));
    int game = p.state.game.process->id();
    EXPECT_TRUE(Soon([game] {
      auto display = platform::DisplayConnection::Connect();
      auto window = display ? display->FindWindow({"Minecraft", "", game}) : std::nullopt;
      return window && display->IsMaximized(*window);
    }));
    test::Screenshot("first-run-5-game-maximised");
    ::kill(game, SIGTERM);
    ASSERT_TRUE(Soon([&] { return !p.state.game.process; }));

    // Step 4: the sample mod imported, then installed through "Config".
    p.window.tabs()->setCurrentIndex(2);
    test::WhenUp<QFileDialog>([this](QFileDialog* requester) {
      // Set whole rather than typed: typing opens the completion list, which takes the Return.
      auto* name = requester->findChild<QLineEdit*>("fileNameEdit");
      name->setText(QString::fromStdString(dir() + "Sample Mod.zip"));
      QTest::keyClick(name, Qt::Key_Return);
    });
    Answer<ModDialog>("6-import-mod", &ModDialog::ok_button);
    Choose(p.window.mod_list(), QPoint(20, 20), "Import mod");
    ASSERT_TRUE(Soon([&] { return p.state.mods.size() == 1; }));
    Answer<InstanceConfigDialog>(
        "7-config-mod", &InstanceConfigDialog::ok_button, [](InstanceConfigDialog* dialog) {
          dialog->tabs()->setCurrentIndex(2);
          QTreeWidget* available = dialog->available_list();
          QPoint row = available->visualItemRect(available->topLevelItem(0)).center();
          QWidget* target = available->viewport();
          QTest::mouseClick(target, Qt::LeftButton, {}, row);
          QTest::mousePress(target, Qt::LeftButton, {}, row);
          QTest::mouseDClick(target, Qt::LeftButton, {}, row);
          QTest::mouseRelease(target, Qt::LeftButton, {}, row);
          EXPECT_EQ(dialog->installed_list()->topLevelItemCount(), 1);
        });
    ChooseFor(p, "First world", "Config");
    EXPECT_EQ(test::ReadFile(InstanceFile("mods.ini")), p.state.mods[0].Dir + "\r\n");
    ASSERT_TRUE(fs::exists(InstanceFile(".minecraft/resources/oxlip-sample.txt")));

    // Step 5: a backup, restored (the game folder it replaces goes to the trash), a clone, and
    // the clone deleted into the trash.
    ChooseFor(p, "First world", "Backup");
    Answer<RestoreDialog>("8-restore-backup", &RestoreDialog::restore_button);
    ChooseFor(p, "First world", "Restore backup");
    Answer<InstanceConfigDialog>("", &InstanceConfigDialog::ok_button);
    ChooseFor(p, "First world", "Clone");
    ASSERT_TRUE(Soon([&] { return p.state.instance_list.size() == 2; }));
    test::Screenshot("first-run-9-cloned");
    ChooseFor(p, "First world - copy", "Delete");
    EXPECT_TRUE(Soon([&] { return p.state.instance_list.size() == 1; }));
  }

  std::unique_ptr<test::MirrorProcess> mirror_;
  std::string folder_;
};

TEST_F(FirstRun, ReadmeWalkThroughFromANewInstanceToItsCloneInTheTrash) {
  static char name[] = "oxlip";
  char* argv[] = {name, nullptr};
  int argc = 1;
  RunProgram(argc, argv, [&](ProgramParts& parts) {
    Walk(parts);
    if (parts.state.game.process) ::kill(parts.state.game.process->id(), SIGTERM);
    QApplication::closeAllWindows();
    parts.window.close();
  });
  ASSERT_FALSE(folder_.empty());
  EXPECT_EQ(test::ReadFile(dir() + "Instances/sort.ini"), folder_ + "\r\n");
  EXPECT_NE(test::ReadFile(InstanceFile("game.log")).size(), 0u);
  EXPECT_NE(test::ReadFile(InstanceFile("settings.ini")).find("Maximize = 1"), std::string::npos);
  int backups = 0;
  for (const auto& entry : fs::directory_iterator(InstanceFile("backup")))
    backups += entry.path().extension() == ".7z";
  EXPECT_EQ(backups, 1);
  // The restore put the game folder back and the one it replaced into the trash.
  EXPECT_TRUE(fs::exists(InstanceFile(".minecraft/bin/minecraft.jar")));
  EXPECT_TRUE(fs::exists(dir() + "xdg/Trash/files/.minecraft/bin/minecraft.jar"));
  // The clone is in the trash, whole, with the sample mod's file.
  int trashed = 0;
  for (const auto& entry : fs::directory_iterator(dir() + "xdg/Trash/files"))
    trashed += fs::exists(entry.path() / ".minecraft/resources/oxlip-sample.txt");
  EXPECT_EQ(trashed, 1);
}

}  // namespace
}  // namespace oxlip::gui

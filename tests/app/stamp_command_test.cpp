// Command 15 stamps the instance remembered by the right click, with the program's folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/main_view.h"
#include "app/menus.h"
#include "archive/seven_zip.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;

class StampCommand : public test::InTempFolder {
 protected:
  StampCommand() {
    state.settings.StartFolder = dir();
    state.settings.InstancesDir = dir() + "Instances/";
    for (const char* name : {"First", "Second"}) {
      state.instances.push_back(std::make_unique<Instance>());
      state.instances.back()->Name = name;
      state.instances.back()->Folder = std::string(name) + "-folder";
      state.instances.back()->AltLauncher = "magic.jar";
      state.instance_list.push_back(state.instances.back().get());
    }
    app::RegisterCommands(state.commands);
  }

  std::string Game(const std::string& folder) const {
    return state.settings.InstancesDir + folder + "/.minecraft/";
  }
  int Run() { return state.commands.Run(app::kCmdImportAlternateMods, state, ui, state.selection); }

  app::AppState state;
  test::ScriptedUi ui;
};

TEST_F(StampCommand, StampsTheRightClickedInstance) {
  // A jar made by the archiver from a folder holding a class and a signature folder.
  test::WriteFile(dir() + "jar/Game.class", "game");
  test::WriteFile(dir() + "jar/META-INF/MANIFEST.MF", "manifest");
  std::string jar = Game("Second-folder") + "bin/minecraft.jar";
  ASSERT_EQ(SevenZip(nullptr, "a \"" + jar + "\" \"" + dir() + "jar/\" -r", nullptr, 0), 0);
  test::WriteFile(
      Game("Second-folder") + "magic/MagicLauncher.cfg",
      "<ActiveProfileIndex=\"0\">\n<Profile <Name=\"Plain\"> <MinecraftJar=\"" + jar + "\">>\n");

  app::RightClickMenu(state, app::ListKind::kInstances, 1);
  EXPECT_EQ(Run(), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Oxlip");
  EXPECT_EQ(ui.messages[0].text, "Profile Plain patched!");
  ASSERT_EQ(ui.status_shown.size(), 1u);
  EXPECT_EQ(ui.status_shown[0].title, "Import Mod-Settings from alternate");
  EXPECT_EQ(ui.status_shown[0].text, "Second");
  EXPECT_EQ(ui.behind_status_runs, 1);
  EXPECT_FALSE(ui.status_open);

  ASSERT_EQ(SevenZip(nullptr, "x \"" + jar + "\" -o\"" + dir() + "out\\\"", nullptr, 0), 0);
  EXPECT_EQ(test::ReadFile(dir() + "out/Game.class"), "game");
  EXPECT_FALSE(fs::exists(dir() + "out/META-INF"));
  EXPECT_FALSE(fs::exists(dir() + "Temp"));
}

TEST_F(StampCommand, InstanceWithoutConfigurationShowsWhy) {
  app::RightClickMenu(state, app::ListKind::kInstances, 0);
  EXPECT_EQ(Run(), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Stamp: No Alternate-Config-File");
}

TEST_F(StampCommand, NothingRememberedDoesNothing) {
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(ui.status_shown.empty());
}

}  // namespace
}  // namespace oxlip

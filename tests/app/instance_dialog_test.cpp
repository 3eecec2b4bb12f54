#include "app/instance_dialog.h"

#include <gtest/gtest.h>

#include "app/instance_dialog_model.h"
#include "platform/fs.h"
#include "support/icon_images.h"
#include "support/mod_fixtures.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using app::InstanceDialogModel;
using app::ModListSide;

class InstanceDialogTest : public test::InTempFolder {
 protected:
  InstanceDialogTest() {
    state.settings.ModDir = dir() + "mods/";
    state.settings.CacheDir = dir() + "Cache/";
    state.versions = {{"minecraft - 1.2.5.jar", "1.2.5", 1300000000}};
    for (auto [folder, name] : {std::pair{"m1", "Zeppelins"}, {"m2", "Airships"}})
      test::WriteFile(state.settings.ModDir + folder + "/mod.ini",
                      "Name = " + std::string(name) + "\r\nVersion = 1.2.5\r\n");
    ScanMods(state.settings, state.versions, state.mods);
    state.default_icon.Load(image::Image{1, 1, {1, 2, 3, 4}});
    record.Icon = instances::InstanceIcon(state.default_icon);
    record.Name = "Alpha";
    record.Mods = {"m1\\"};
  }

  app::AppState state;
  test::ScriptedUi ui;
  Instance record;
};

// A file that is no image is refused in a box over the Ui; a cancel leaves the record.
TEST_F(InstanceDialogTest, CancelledDialogLeavesRecordAndIcon) {
  test::WriteFile(dir() + "fake.jpg", "JFIF? no");
  test::WriteBmp(dir() + "blue.bmp", 6, 6);
  state.settings.DefaultIconFile = dir() + "Icons/Default.png";
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    // Until an icon is chosen, the requester starts where the data folder keeps its icons.
    EXPECT_EQ(model.IconFileRequester().start, dir() + "Icons/");
    model.IconChosen(dir() + "fake.jpg");
    model.IconChosen(dir() + "blue.bmp");
    EXPECT_EQ(model.chosen_icon_file(), dir() + "blue.bmp");
    model.fields().title = "Renamed";
    model.ClickAutoLogin(true);
    return false;
  };
  EXPECT_FALSE(InstanceDialog(state, ui, record));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Fileformat is not supported!\n" + dir() + "fake.jpg");
  EXPECT_EQ(record.Name, "Alpha");
  EXPECT_EQ(record.IconFile, "");
  EXPECT_EQ(record.Icon.image(), state.default_icon.image());
}

// The whole way of "Import mod" from inside the dialog: the import and the mod dialog run over
// the dialog, the new mod lands where the right click was and the main window's list follows.
TEST_F(InstanceDialogTest, ImportFromTheDialogAddsTheModAtTheRightClickedRow) {
  test::WriteFile(dir() + "src/mods/fancy.zip", "fancy");
  ASSERT_EQ(test::SevenZipProgram(dir() + "src", "a -tzip ../Fancy.zip *"), 0);
  ui.on_mod_dialog = [](app::ModDialogModel&) { return true; };
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    model.SelectRow(ModListSide::kInstalled, 0);
    model.RightClick(ModListSide::kInstalled);
    model.ImportModFromMenu(dir() + "Fancy.zip");
    return true;
  };
  EXPECT_TRUE(InstanceDialog(state, ui, record));
  ASSERT_EQ(record.Mods.size(), 2u);
  EXPECT_EQ(record.Mods[1], "m1\\");
  EXPECT_TRUE(platform::IsFile(state.settings.ModDir + record.Mods[0] + "root.7z"));
  EXPECT_EQ(state.mods.size(), 3u);
  EXPECT_EQ(ui.lists_changed, (std::vector<app::ListKind>{app::ListKind::kMods}));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace oxlip

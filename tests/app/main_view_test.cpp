#include "app/main_view.h"

#include <gtest/gtest.h>

#include "support/scripted_ui.h"

namespace oxlip {
namespace {

std::vector<int> Ids(const Menu& menu) {
  std::vector<int> ids;
  for (const MenuItem& item : menu) {
    if (item.kind == MenuItem::Kind::kSubmenu)
      for (const MenuItem& inner : item.items) ids.push_back(inner.id);
    else if (item.kind == MenuItem::Kind::kCommand)
      ids.push_back(item.id);
  }
  return ids;
}

class MainViewTest : public ::testing::Test {
 protected:
  MainViewTest() {
    for (const char* name : {"First", "Second"}) {
      state.instances.push_back(std::make_unique<Instance>());
      state.instances.back()->Name = name;
      state.instance_list.push_back(state.instances.back().get());
    }
    state.instances[1]->AltLauncher = "magic.jar";
    state.commands.Register(kCmdStart, [this](AppState&, Ui&, const MenuSelection& s) {
      started.push_back(s.instance);
      return 1;
    });
  }

  AppState state;
  test::ScriptedUi ui;
  std::vector<Instance*> started;
};

TEST_F(MainViewTest, RightClickOnAnInstanceRemembersItAndNamesTheMenu) {
  Menu plain = RightClickMenu(state, ListKind::kInstances, 0);
  EXPECT_EQ(plain[0].text, "First");
  EXPECT_FALSE(plain[0].enabled);
  EXPECT_EQ(Ids(plain), (std::vector<int>{5, 0, 4, 28, 12, 13, 27, 2, 1, 3, 8, 9, 10, 11}));
  EXPECT_EQ(state.selection.instance, state.instances[0].get());

  Menu alternate = RightClickMenu(state, ListKind::kInstances, 1);
  EXPECT_EQ(alternate[0].text, "Second");
  EXPECT_EQ(Ids(alternate),
            (std::vector<int>{5, 0, 14, 4, 28, 15, 12, 13, 27, 2, 1, 3, 8, 9, 10, 11}));
  EXPECT_EQ(state.selection.row, 1);
}

TEST_F(MainViewTest, RightClickWithoutARowKeepsTheRememberedOne) {
  RightClickMenu(state, ListKind::kInstances, 1);
  EXPECT_EQ(Ids(RightClickMenu(state, ListKind::kInstances, -1)), (std::vector<int>{6, 7}));
  EXPECT_EQ(Ids(RightClickMenu(state, ListKind::kVersions, -1)), (std::vector<int>{18, 16}));
  EXPECT_EQ(Ids(RightClickMenu(state, ListKind::kMods, -1)), (std::vector<int>{22, 23}));
  EXPECT_EQ(state.selection.row, 1);
  EXPECT_EQ(Ids(RightClickMenu(state, ListKind::kVersions, 0)), (std::vector<int>{17, 19}));
  EXPECT_EQ(Ids(RightClickMenu(state, ListKind::kMods, 3)), (std::vector<int>{24, 26, 25}));
  EXPECT_EQ(state.selection.row, 3);
}

TEST_F(MainViewTest, CommandsActOnTheRememberedInstanceNotALaterOne) {
  RightClickMenu(state, ListKind::kInstances, 1);
  RunMenuCommand(state, ui, kCmdStart);
  DoubleClickInstance(state, ui, 0);
  DoubleClickInstance(state, ui, -1);
  EXPECT_EQ(started, (std::vector<Instance*>{state.instances[1].get(), state.instances[0].get()}));
  EXPECT_EQ(RunMenuCommand(state, ui, kCmdNewMod), 1);  // no command yet: nothing happens
}

TEST_F(MainViewTest, OnlyTheFirstDroppedFileIsHandedOn) {
  std::vector<std::pair<int, std::string>> drops;
  for (int id : {kCmdDropVersionFile, kCmdDropModFile})
    state.commands.Register(id, [&drops, id](AppState&, Ui&, const MenuSelection& s) {
      drops.push_back({id, s.file});
      return 1;
    });
  DropFiles(state, ui, ListKind::kVersions, "/tmp/a.jar\n/tmp/b.jar");
  DropFiles(state, ui, ListKind::kMods, "/tmp/mod.zip");
  DropFiles(state, ui, ListKind::kMods, "");
  EXPECT_EQ(drops, (std::vector<std::pair<int, std::string>>{{kCmdDropVersionFile, "/tmp/a.jar"},
                                                             {kCmdDropModFile, "/tmp/mod.zip"}}));
}

}  // namespace
}  // namespace oxlip

#include "app/main_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/command_registry.h"
#include "app/menus.h"
#include "support/scripted_ui.h"

namespace oxlip {
namespace {

std::vector<std::string> Texts(const Menu& menu) {
  std::vector<std::string> texts;
  for (const MenuItem& item : menu) texts.push_back(item.text);
  return texts;
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

// Each list offers its row menu on a row and its own menu elsewhere; a click beside the rows
// keeps the row remembered before.
TEST_F(MainViewTest, RightClicksOfferTheListsMenusAndRememberTheRow) {
  EXPECT_EQ(Texts(RightClickMenu(state, ListKind::kInstances, 0)),
            Texts(InstanceMenuFor("First", false)));
  EXPECT_EQ(state.selection.instance, state.instances[0].get());
  EXPECT_EQ(Texts(RightClickMenu(state, ListKind::kInstances, 1)),
            Texts(InstanceMenuFor("Second", true)));
  const struct {
    ListKind list;
    int row;
    MenuKind menu;
  } cases[] = {{ListKind::kInstances, -1, MenuKind::kInstanceArea},
               {ListKind::kVersions, -1, MenuKind::kVersionList},
               {ListKind::kMods, -1, MenuKind::kModList},
               {ListKind::kVersions, 0, MenuKind::kVersionRow},
               {ListKind::kMods, 3, MenuKind::kModRow}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.menu));
    EXPECT_EQ(Texts(RightClickMenu(state, c.list, c.row)), Texts(BuildMenu(c.menu)));
    EXPECT_EQ(state.selection.row, c.row < 0 ? 1 : c.row);
  }
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

std::vector<int> Ids(const Menu& menu) {
  std::vector<int> ids;
  for (const MenuItem& item : menu) {
    std::vector<int> inner = Ids(item.items);
    ids.insert(ids.end(), inner.begin(), inner.end());
    if (item.kind == MenuItem::Kind::kCommand) ids.push_back(item.id);
  }
  return ids;
}

// Every item runs a command the program has, each once per menu; an instance with an
// alternate launcher gets its two commands more, and its name on the disabled first item.
TEST(Menus, EveryItemRunsARegisteredCommand) {
  CommandTable table;
  RegisterCommands(table);
  for (MenuKind kind :
       {MenuKind::kInstance, MenuKind::kInstanceAlternate, MenuKind::kInstanceArea,
        MenuKind::kVersionList, MenuKind::kVersionRow, MenuKind::kModList, MenuKind::kModRow}) {
    SCOPED_TRACE(static_cast<int>(kind));
    std::vector<int> ids = Ids(BuildMenu(kind));
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    for (int id : ids) EXPECT_TRUE(id == kCmdInstanceName || table.Has(id)) << id;
  }
  std::vector<int> plain = Ids(InstanceMenuFor("My world", false));
  std::vector<int> added;
  for (int id : Ids(InstanceMenuFor("My world", true)))
    if (std::find(plain.begin(), plain.end(), id) == plain.end()) added.push_back(id);
  EXPECT_EQ(added, (std::vector<int>{kCmdStartAlternate, kCmdImportAlternateMods}));
  Menu named = InstanceMenuFor("My world", true);
  EXPECT_EQ(named.front().text, "My world");
  EXPECT_FALSE(named.front().enabled);
}

}  // namespace
}  // namespace oxlip

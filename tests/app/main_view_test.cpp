#include "app/main_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/command_registry.h"
#include "app/menus.h"
#include "support/scripted_ui.h"

namespace oxlip {
namespace {

std::vector<std::string> Texts(const app::Menu& menu) {
  std::vector<std::string> texts;
  for (const app::MenuItem& item : menu) texts.push_back(item.text);
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
    state.commands.Register(app::kCmdStart,
                            [this](app::AppState&, app::Ui&, const app::MenuSelection& s) {
                              started.push_back(s.instance);
                              return 1;
                            });
  }

  app::AppState state;
  test::ScriptedUi ui;
  std::vector<Instance*> started;
};

// Each list offers its row menu on a row and its own menu elsewhere; a click beside the rows
// keeps the row remembered before.
TEST_F(MainViewTest, RightClicksOfferTheListsMenusAndRememberTheRow) {
  EXPECT_EQ(Texts(app::RightClickMenu(state, app::ListKind::kInstances, 0)),
            Texts(app::InstanceMenuFor("First", false)));
  EXPECT_EQ(state.selection.instance, state.instances[0].get());
  EXPECT_EQ(Texts(app::RightClickMenu(state, app::ListKind::kInstances, 1)),
            Texts(app::InstanceMenuFor("Second", true)));
  const struct {
    app::ListKind list;
    int row;
    app::MenuKind menu;
  } cases[] = {{app::ListKind::kInstances, -1, app::MenuKind::kInstanceArea},
               {app::ListKind::kVersions, -1, app::MenuKind::kVersionList},
               {app::ListKind::kMods, -1, app::MenuKind::kModList},
               {app::ListKind::kVersions, 0, app::MenuKind::kVersionRow},
               {app::ListKind::kMods, 3, app::MenuKind::kModRow}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.menu));
    EXPECT_EQ(Texts(app::RightClickMenu(state, c.list, c.row)), Texts(app::BuildMenu(c.menu)));
    EXPECT_EQ(state.selection.row, c.row < 0 ? 1 : c.row);
  }
}

TEST_F(MainViewTest, CommandsActOnTheRememberedInstanceNotALaterOne) {
  app::RightClickMenu(state, app::ListKind::kInstances, 1);
  app::RunMenuCommand(state, ui, app::kCmdStart);
  app::DoubleClickInstance(state, ui, 0);
  app::DoubleClickInstance(state, ui, -1);
  EXPECT_EQ(started, (std::vector<Instance*>{state.instances[1].get(), state.instances[0].get()}));
  EXPECT_EQ(app::RunMenuCommand(state, ui, app::kCmdNewMod), 1);  // no command yet: nothing happens
}

TEST_F(MainViewTest, OnlyTheFirstDroppedFileIsHandedOn) {
  std::vector<std::pair<int, std::string>> drops;
  for (int id : {app::kCmdDropVersionFile, app::kCmdDropModFile})
    state.commands.Register(id,
                            [&drops, id](app::AppState&, app::Ui&, const app::MenuSelection& s) {
                              drops.push_back({id, s.file});
                              return 1;
                            });
  app::DropFiles(state, ui, app::ListKind::kVersions, "/tmp/a.jar\n/tmp/b.jar");
  app::DropFiles(state, ui, app::ListKind::kMods, "/tmp/mod.zip");
  app::DropFiles(state, ui, app::ListKind::kMods, "");
  EXPECT_EQ(drops,
            (std::vector<std::pair<int, std::string>>{{app::kCmdDropVersionFile, "/tmp/a.jar"},
                                                      {app::kCmdDropModFile, "/tmp/mod.zip"}}));
}

std::vector<int> Ids(const app::Menu& menu) {
  std::vector<int> ids;
  for (const app::MenuItem& item : menu) {
    std::vector<int> inner = Ids(item.items);
    ids.insert(ids.end(), inner.begin(), inner.end());
    if (item.kind == app::MenuItem::Kind::kCommand) ids.push_back(item.id);
  }
  return ids;
}

// Every item runs a command the program has, each once per menu; an instance with an
// alternate launcher gets its two commands more, and its name on the disabled first item.
TEST(Menus, EveryItemRunsARegisteredCommand) {
  app::CommandTable table;
  app::RegisterCommands(table);
  for (app::MenuKind kind :
       {app::MenuKind::kInstance, app::MenuKind::kInstanceAlternate, app::MenuKind::kInstanceArea,
        app::MenuKind::kVersionList, app::MenuKind::kVersionRow, app::MenuKind::kModList,
        app::MenuKind::kModRow}) {
    SCOPED_TRACE(static_cast<int>(kind));
    std::vector<int> ids = Ids(app::BuildMenu(kind));
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    for (int id : ids) EXPECT_TRUE(id == app::kCmdInstanceName || table.Has(id)) << id;
  }
  std::vector<int> plain = Ids(app::InstanceMenuFor("My world", false));
  std::vector<int> added;
  for (int id : Ids(app::InstanceMenuFor("My world", true)))
    if (std::find(plain.begin(), plain.end(), id) == plain.end()) added.push_back(id);
  EXPECT_EQ(added, (std::vector<int>{app::kCmdStartAlternate, app::kCmdImportAlternateMods}));
  app::Menu named = app::InstanceMenuFor("My world", true);
  EXPECT_EQ(named.front().text, "My world");
  EXPECT_FALSE(named.front().enabled);
}

}  // namespace
}  // namespace oxlip

// The main window's lists as the program sees them: start-up and shut-down, the icons read
// behind the list, the menus and what clicks and drops run.
#include "app/main_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/instance_dialog_model.h"
#include "app/instance_icons.h"
#include "app/menus.h"
#include "app/startup.h"
#include "image/image_scale.h"
#include "platform/fs.h"
#include "support/game_fixture.h"
#include "support/held_file.h"
#include "support/png_writer.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip::app {
namespace {

class StartupTest : public test::InTempFolder {
 protected:
  // Instances named after their folders, and the sort file when `sort` is given.
  void Start(const std::vector<std::string>& folders, const char* sort = nullptr) {
    for (const std::string& f : folders)
      test::WriteFile(dir() + "Instances/" + f + "/settings.ini", "Name = " + f + " name\r\n");
    if (sort) test::WriteFile(dir() + "Instances/sort.ini", sort);
    ASSERT_TRUE(StartUp(state));
    FillLists(state, ui);
  }
  std::vector<std::string> ListedFolders() const {
    std::vector<std::string> folders;
    for (const Instance* record : state.instance_list) folders.push_back(record->Folder);
    return folders;
  }
  // The folders as the directory lists them, but `first` in front.
  std::vector<std::string> DirectoryOrder(std::vector<std::string> first = {}) const {
    for (const auto& entry : platform::ListFolder(dir() + "Instances/"))
      if (entry.is_folder && std::find(first.begin(), first.end(), entry.name) == first.end())
        first.push_back(entry.name);
    return first;
  }

  AppState state;
  test::ScriptedUi ui;
};

// The sort file's order first, each folder once, with any line end and exact letter case;
// then the rest in directory order. The window is told of each list once.
TEST_F(StartupTest, SortFileOrderFirstThenTheRestInDirectoryOrder) {
  state.selection.row = 4;
  Start({"alpha", "beta", "gamma", "delta"}, "gamma\ngone\rALPHA\r\nalpha\r\ngamma");
  EXPECT_EQ(ListedFolders(), DirectoryOrder({"gamma", "alpha"}));
  for (const Instance* record : state.instance_list) EXPECT_EQ(record->Listed, 1);
  EXPECT_EQ(state.instance_list[0]->Name, "gamma name");
  EXPECT_EQ(ui.lists_changed,
            (std::vector<ListKind>{ListKind::kVersions, ListKind::kMods, ListKind::kInstances}));
  EXPECT_EQ(state.selection.row, -1);
}

TEST_F(StartupTest, TheBuiltInIconFillsInOnlyForAMissingDefaultIconFile) {
  std::string icon =
      test::ReadFile(std::string(OXLIP_SOURCE_DIR) + "/src/gui/icons/default_instance.png");
  ASSERT_TRUE(StartUp(state, StartFiles{"", icon}));
  EXPECT_EQ(test::ReadFile(dir() + "Icons/Default.png"), icon);
  EXPECT_NE(state.default_icon.image(), nullptr);
  test::WriteFile(dir() + "Icons/Default.png", "mine");
  AppState again;
  ASSERT_TRUE(StartUp(again, StartFiles{"", icon}));
  EXPECT_EQ(test::ReadFile(dir() + "Icons/Default.png"), "mine");
}

// Dragged down a row lands after the drop row, up before it; the order is written at the end.
TEST_F(StartupTest, DraggedRowsAreWrittenToTheSortFileAtTheEnd) {
  Start({"a", "b", "c"}, "a\r\nstale\r\nb\r\nc\r\n");
  for (auto [from, to] : {std::pair{1, 1}, {1, -1}, {1, 3}, {7, 0}}) {
    StartInstanceDrag(state, from);
    EXPECT_FALSE(DropInstance(state, to)) << from << " to " << to;
  }
  StartInstanceDrag(state, 0);
  EXPECT_TRUE(DropInstance(state, 2));
  EXPECT_EQ(ListedFolders(), (std::vector<std::string>{"b", "c", "a"}));
  StartInstanceDrag(state, 2);
  EXPECT_TRUE(DropInstance(state, 1));
  ShutDown(state);
  EXPECT_EQ(test::ReadFile(dir() + "Instances/sort.ini"), "b\r\na\r\nc\r\n");
  EXPECT_NE(test::ReadFile(dir() + "Oxlip.ini").find("WinW = 640\r\n"), std::string::npos);
}

// Without a sort file every instance is listed in directory order; an unwritable one still
// lets the settings be saved.
TEST_F(StartupTest, WithoutSortFileEveryInstanceInDirectoryOrder) {
  test::WriteFile(dir() + "Instances/not-a-folder.txt", "x");
  Start({"one", "two", "three"});
  EXPECT_EQ(ListedFolders(), DirectoryOrder());
  EXPECT_EQ(state.instances.size(), 3u);
  std::filesystem::create_directories(dir() + "Instances/sort.ini");  // a folder in its place
  state.settings.WinW = 777;
  ShutDown(state);
  EXPECT_NE(test::ReadFile(dir() + "Oxlip.ini").find("WinW = 777\r\n"), std::string::npos);
}

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

// A PNG of one colour; its red channel names the instance it belongs to.
std::string Png(int side, uint8_t red) {
  image::Image image{side, side, {}};
  for (int i = 0; i < side * side; ++i) image.rgba.insert(image.rgba.end(), {red, 32, 16, 255});
  return test::EncodePngRgba(image);
}

class InstanceIconsTest : public StartupTest {
 protected:
  // Instances "i0" to "i<count - 1>", listed in that order or backwards; each icon's red is 10
  // times its number, and its side varies so that most are scaled.
  void MakeInstances(int count, bool backwards = false) {
    std::string order;
    for (int i = 0; i < count; ++i) {
      std::string folder = dir() + "Instances/i" + std::to_string(i) + "/";
      test::WriteFile(folder + "settings.ini", "Name = " + std::to_string(i) + "\r\n");
      if (i != held && i != without_icon) test::WriteFile(folder + "icon.png", Png(20 + i, Red(i)));
      std::string line = "i" + std::to_string(i) + "\r\n";
      order = backwards ? line + order : order + line;
    }
    test::WriteFile(dir() + "Instances/sort.ini", order);
    if (held >= 0) held_icon.emplace(dir() + "Instances/i" + std::to_string(held) + "/icon.png");
  }

  void Start(bool clear = true) {
    ASSERT_TRUE(StartUp(state));
    FillLists(state, ui);
    if (clear) ui.instance_rows_changed.clear();
  }

  // Hands over what the worker reads until every icon has come.
  void DeliverAll() {
    ASSERT_TRUE(test::WaitFor([&] { return !DeliverInstanceIcons(state, ui); }));
  }

  static uint8_t Red(int instance) { return static_cast<uint8_t>(10 * instance); }

  // The red of the row's icon; -1 while it shows the default.
  int ShownRed(int row) const {
    const Instance& record = *state.instance_list[row];
    if (record.Icon.IsDefault()) return -1;
    const image::Image& icon = *record.Icon.image();
    EXPECT_EQ(icon.width, image::kIconSide);
    EXPECT_EQ(icon.height, image::kIconSide);
    return icon.rgba[0];
  }

  std::vector<int> ChangedRows() const {
    std::vector<int> rows;
    for (auto [row, change] : ui.instance_rows_changed) {
      EXPECT_EQ(change, RowChange::kEdited);
      rows.push_back(row);
    }
    return rows;
  }

  int held = -1;
  int without_icon = -1;
  std::optional<test::HeldFile> held_icon;  // let go before the state's worker is waited for
};

TEST(RowsToPrefer, TheRowsInViewAndTheScreenBelow) {
  struct Case {
    RowRange view;
    int rows;
    RowRange expected;
  };
  for (const Case& c :
       {Case{{0, 9}, 100, {0, 19}}, Case{{40, 44}, 100, {40, 49}}, Case{{95, 99}, 100, {95, 99}},
        Case{{0, -1}, 100, {0, -1}}, Case{{-5, 2}, 100, {0, 5}}}) {
    SCOPED_TRACE(testing::Message() << c.view.first << ".." << c.view.last);
    EXPECT_EQ(RowsToPrefer(c.view, c.rows), c.expected);
  }
}

TEST_F(InstanceIconsTest, TheRowsInViewHaveTheirIconsAtOnceTheOthersComeInListOrder) {
  without_icon = 4;
  MakeInstances(7, true);  // listed backwards: the folders' own order must not decide
  ui.rows_in_view = {0, 1};
  Start(false);
  EXPECT_EQ(ChangedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(ShownRed(0), Red(6));
  EXPECT_EQ(ShownRed(1), Red(5));
  for (int row = 2; row < 7; ++row)
    EXPECT_EQ(state.instance_list[row]->Icon.image(), state.default_icon.image());
  DeliverAll();
  // Row 2 is the instance without an icon: it keeps the default.
  EXPECT_EQ(ChangedRows(), (std::vector<int>{0, 1, 3, 4, 5, 6}));
  for (int row = 0; row < 7; ++row) EXPECT_EQ(ShownRed(row), row == 2 ? -1 : Red(6 - row)) << row;
}

TEST_F(InstanceIconsTest, RowsScrolledIntoViewAreReadNext) {
  held = 2;
  MakeInstances(10);
  ui.rows_in_view = {0, 1};
  Start();  // the worker waits at row 2
  ui.rows_in_view = {6, 7};
  DeliverInstanceIcons(state, ui);
  held_icon->Release(Png(5, Red(held)));
  DeliverAll();
  std::vector<int> rows = ChangedRows();
  std::erase(rows, held);  // read before or after the preferred rows
  EXPECT_EQ(rows, (std::vector<int>{6, 7, 8, 9, 3, 4, 5}));
  EXPECT_EQ(ShownRed(held), Red(held));
}

// A record deleted while its icon is read gets nothing; a command reads its instance's icon
// itself, and the one read later does not come again.
TEST_F(InstanceIconsTest, IconsReadLateLeaveWhatHappenedMeanwhile) {
  held = 1;
  MakeInstances(4);
  ui.rows_in_view = {0, 0};
  Start();  // the worker waits at row 1
  Instance* deleted = state.instance_list[2];
  std::erase(state.instance_list, deleted);
  std::erase_if(state.instances, [deleted](const auto& owned) { return owned.get() == deleted; });
  int shown_in_dialog = -2;
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    shown_in_dialog = model.preview() ? model.preview()->rgba[0] : -1;
    return false;
  };
  RightClickMenu(state, ListKind::kInstances, 2);
  RunMenuCommand(state, ui, kCmdConfig);
  EXPECT_EQ(shown_in_dialog, Red(3));
  held_icon->Release(Png(5, Red(held)));
  DeliverAll();
  EXPECT_EQ(ChangedRows(), (std::vector<int>{2, 1}));
  EXPECT_EQ(ShownRed(1), Red(1));
  EXPECT_EQ(ShownRed(2), Red(3));
}

}  // namespace
}  // namespace oxlip::app

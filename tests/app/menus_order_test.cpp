#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/command_registry.h"
#include "app/commands.h"
#include "app/menus.h"
#include "app/move_row.h"
#include "app/sort_order.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

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
    std::set<int> distinct(ids.begin(), ids.end());
    EXPECT_EQ(distinct.size(), ids.size());
    for (int id : ids) EXPECT_TRUE(id == app::kCmdInstanceName || table.Has(id)) << id;
  }
  std::vector<int> plain = Ids(app::InstanceMenuFor("My world", false));
  std::vector<int> alternate = Ids(app::InstanceMenuFor("My world", true));
  std::vector<int> added;
  for (int id : alternate)
    if (std::find(plain.begin(), plain.end(), id) == plain.end()) added.push_back(id);
  EXPECT_EQ(added, (std::vector<int>{app::kCmdStartAlternate, app::kCmdImportAlternateMods}));
  EXPECT_EQ(alternate.size(), plain.size() + 2);
  app::Menu named = app::InstanceMenuFor("My world", true);
  EXPECT_EQ(named.front().text, "My world");
  EXPECT_FALSE(named.front().enabled);
}

TEST(MoveRow, DownLandsAfterAndUpBefore) {
  std::vector<std::string> rows = {"a", "b", "c"};
  EXPECT_TRUE(app::MoveRow(rows, 0, 2));
  EXPECT_EQ(rows, (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_TRUE(app::MoveRow(rows, 2, 0));
  EXPECT_EQ(rows, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_FALSE(app::MoveRow(rows, 1, 1));
  EXPECT_FALSE(app::MoveRow(rows, 1, -1));
  EXPECT_FALSE(app::MoveRow(rows, 5, 0));
}

TEST(SortOrder, DisplayOrderListsEachFolderOnce) {
  std::vector<std::string> folders = {"A", "b", "C", "D"};
  EXPECT_EQ(app::DisplayOrder(folders, {"C", "gone", "A", "C", "a"}),
            (std::vector<size_t>{2, 0, 1, 3}));
  EXPECT_EQ(app::DisplayOrder(folders, {}), (std::vector<size_t>{0, 1, 2, 3}));
}

class SortFileTest : public test::InTempFolder {};

TEST_F(SortFileTest, LinesRoundTripWithAnyLineEnd) {
  EXPECT_FALSE(app::ReadSortOrder(dir() + "sort.ini"));
  ASSERT_TRUE(app::WriteSortOrder(dir() + "sort.ini", {"one", "two"}));
  EXPECT_EQ(test::ReadFile(dir() + "sort.ini"), "one\r\ntwo\r\n");
  test::WriteFile(dir() + "sort.ini", "x\ny\rz");
  EXPECT_EQ(*app::ReadSortOrder(dir() + "sort.ini"), (std::vector<std::string>{"x", "y", "z"}));
}

}  // namespace
}  // namespace oxlip

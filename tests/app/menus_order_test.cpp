#include <gtest/gtest.h>

#include "app/menus.h"
#include "app/move_row.h"
#include "app/sort_order.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

// "text:id" for commands, "-" for separators, "text{...}" for submenus.
std::string Describe(const Menu& menu) {
  std::string out;
  for (const MenuItem& item : menu) {
    if (!out.empty()) out += " ";
    if (item.kind == MenuItem::Kind::kSeparator)
      out += "-";
    else if (item.kind == MenuItem::Kind::kSubmenu)
      out += item.text + "{" + Describe(item.items) + "}";
    else
      out += item.text + ":" + std::to_string(item.id) + (item.enabled ? "" : "!");
  }
  return out;
}

TEST(Menus, ItemsIdentifiersAndOrder) {
  EXPECT_EQ(Describe(BuildMenu(MenuKind::kInstance)),
            "----:5! Start:0 Config:4 Show game log:28 - Backup{Backup:12} "
            "Backup saves{Backup saves:13} Restore backup:27 Repair/update{Repair/Update:2} "
            "Clone{Clone:1} Delete{Delete:3} - "
            "Open in Explorer{Instance:8 Save:9 Screenshots:10 Texturepacks:11}");
  EXPECT_EQ(
      Describe(InstanceMenuFor("My world", true)),
      "My world:5! Start:0 Start with alternate:14 Config:4 Show game log:28 - "
      "Mod{Import Mod-Settings from alternate:15} Backup{Backup:12} "
      "Backup saves{Backup saves:13} Restore backup:27 Repair/update{Repair/Update:2} "
      "Clone{Clone:1} "
      "Delete{Delete:3} - Open in Explorer{Instance:8 Save:9 Screenshots:10 Texturepacks:11}");
  EXPECT_EQ(Describe(BuildMenu(MenuKind::kInstanceArea)), "New instance:6 Import from original:7");
  EXPECT_EQ(Describe(BuildMenu(MenuKind::kVersionList)), "Reload List:18 - Download all Beta:16");
  EXPECT_EQ(Describe(BuildMenu(MenuKind::kVersionRow)), "Downgrade:17 Delete{Delete:19}");
  EXPECT_EQ(Describe(BuildMenu(MenuKind::kModList)), "New mod:22 Import mod:23");
  EXPECT_EQ(Describe(BuildMenu(MenuKind::kModRow)),
            "Rename:24 Open in Explorer:26 Delete{Delete:25}");
}

TEST(MoveRow, DownLandsAfterAndUpBefore) {
  std::vector<std::string> rows = {"a", "b", "c"};
  EXPECT_TRUE(MoveRow(rows, 0, 2));
  EXPECT_EQ(rows, (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_TRUE(MoveRow(rows, 2, 0));
  EXPECT_EQ(rows, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_FALSE(MoveRow(rows, 1, 1));
  EXPECT_FALSE(MoveRow(rows, 1, -1));
  EXPECT_FALSE(MoveRow(rows, 5, 0));
}

TEST(SortOrder, DisplayOrderListsEachFolderOnce) {
  std::vector<std::string> folders = {"A", "b", "C", "D"};
  EXPECT_EQ(DisplayOrder(folders, {"C", "gone", "A", "C", "a"}), (std::vector<size_t>{2, 0, 1, 3}));
  EXPECT_EQ(DisplayOrder(folders, {}), (std::vector<size_t>{0, 1, 2, 3}));
}

class SortFileTest : public test::InTempFolder {};

TEST_F(SortFileTest, LinesRoundTripWithAnyLineEnd) {
  EXPECT_FALSE(ReadSortOrder(dir() + "sort.ini"));
  ASSERT_TRUE(WriteSortOrder(dir() + "sort.ini", {"one", "two"}));
  EXPECT_EQ(test::ReadFile(dir() + "sort.ini"), "one\r\ntwo\r\n");
  test::WriteFile(dir() + "sort.ini", "x\ny\rz");
  EXPECT_EQ(*ReadSortOrder(dir() + "sort.ini"), (std::vector<std::string>{"x", "y", "z"}));
}

}  // namespace
}  // namespace oxlip

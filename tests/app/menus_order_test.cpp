#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/command_registry.h"
#include "app/commands.h"
#include "app/menus.h"

namespace oxlip {
namespace {

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

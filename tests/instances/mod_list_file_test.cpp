#include "instances/mod_list_file.h"

#include <gtest/gtest.h>

namespace oxlip {
namespace {

using Lines = std::vector<std::string>;

// Every line end is accepted and inner empty lines stay; written text reads back the same.
TEST(ModListFileTest, LinesAndTheTextWrittenForThem) {
  const std::pair<const char*, Lines> cases[] = {{"a\r\nb\r\n", {"a", "b"}},
                                                 {"a\nb", {"a", "b"}},
                                                 {"a\rb\r", {"a", "b"}},
                                                 {"a\r\n\r\nb", {"a", "", "b"}},
                                                 {"a\n\nb", {"a", "", "b"}},
                                                 {"a\n\r\nb", {"a", "", "b"}},
                                                 {"\r\n", {""}},
                                                 {"", {}}};
  for (const auto& [text, lines] : cases)
    EXPECT_EQ(instances::ParseModListText(text), lines) << text;
  Lines mods{"x", "", "dir\\y z"};
  EXPECT_EQ(instances::ModListText(mods), "x\r\n\r\ndir\\y z\r\n");
  EXPECT_EQ(instances::ParseModListText(instances::ModListText(mods)), mods);
  EXPECT_EQ(instances::ModListText({}), "");
}

}  // namespace
}  // namespace oxlip

#include "platform/ascii_case.h"

#include <gtest/gtest.h>

namespace oxlip::platform {
namespace {

// Only A to Z fold: the bytes of "Ä" in UTF-8 (and in Latin-1, where a locale's tolower would
// change them) stay as they are.
TEST(AsciiCase, OnlyAsciiLettersFold) {
  EXPECT_EQ(LowerAscii("Minecraft.JAR [1.2_5]\xC3\x84\xC4"), "minecraft.jar [1.2_5]\xC3\x84\xC4");
  EXPECT_TRUE(EqualsNoCase("META-INF", "meta-inf"));
  EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
  EXPECT_FALSE(EqualsNoCase("a", "ab"));
  EXPECT_TRUE(StartsWithNoCase("Icon.PNG", "icon."));
  EXPECT_FALSE(StartsWithNoCase("ic", "icon."));
  EXPECT_TRUE(EndsWithNoCase("a\\MineCraft.Jar", "\\minecraft.jar"));
  EXPECT_FALSE(EndsWithNoCase("jar", ".jar"));
}

}  // namespace
}  // namespace oxlip::platform

#include "archive/name_pattern.h"

#include <gtest/gtest.h>

#include "archive/entry_name.h"

namespace oxlip::archive {
namespace {

TEST(WildcardMatch, IgnoresCaseAndBacktracks) {
  EXPECT_TRUE(WildcardMatch("meta-inf", "META-INF"));
  EXPECT_TRUE(WildcardMatch("*", ""));
  EXPECT_TRUE(WildcardMatch("*.class", "Minecraft.CLASS"));
  EXPECT_TRUE(WildcardMatch("a*b*c", "aXbYbZc"));
  EXPECT_TRUE(WildcardMatch("?x", "ax"));
  EXPECT_FALSE(WildcardMatch("?x", "x"));
  EXPECT_FALSE(WildcardMatch("a*b", "aXbY"));
}

TEST(NamePattern, TopLevelCoversTheItemAndWhatIsBelowIt) {
  NamePattern meta("meta-inf", false);
  EXPECT_TRUE(meta.Covers("META-INF/"));
  EXPECT_TRUE(meta.Covers("META-INF/MANIFEST.MF"));
  EXPECT_FALSE(meta.Covers("lib/META-INF/x"));
  EXPECT_FALSE(meta.Covers("META-INF2/x"));
  NamePattern deep("net\\minecraft\\client\\Minecraft.class", false);
  EXPECT_TRUE(deep.Covers("net/minecraft/client/minecraft.class"));
  EXPECT_FALSE(deep.Covers("net/minecraft/client"));
}

TEST(NamePattern, AnyDepthCoversAtEveryLevel) {
  NamePattern meta("meta-inf", true);
  EXPECT_TRUE(meta.Covers("lib/Meta-Inf/x.sf"));
  EXPECT_TRUE(meta.Covers("meta-inf"));
  EXPECT_FALSE(meta.Covers("lib/meta-info"));
}

TEST(SafeEntryPath, RefusesNamesThatLeaveTheFolder) {
  EXPECT_EQ(SafeEntryPath("a\\b/./c"), "a/b/c");
  EXPECT_EQ(SafeEntryPath("dir/"), "dir");
  EXPECT_FALSE(SafeEntryPath("../evil"));
  EXPECT_FALSE(SafeEntryPath("a/../../evil"));
  EXPECT_FALSE(SafeEntryPath("/etc/passwd"));
  EXPECT_FALSE(SafeEntryPath("\\evil"));
  EXPECT_FALSE(SafeEntryPath("C:evil"));
  EXPECT_FALSE(SafeEntryPath("/"));
  EXPECT_FALSE(SafeEntryPath("./../evil"));
}

// Real mod zips hold "./" entries, and a packed pipe has no name: they name nothing to write.
TEST(SafeEntryPath, NamesOfNothingAreEmptyNotUnsafe) {
  EXPECT_EQ(SafeEntryPath("./"), "");
  EXPECT_EQ(SafeEntryPath("."), "");
  EXPECT_EQ(SafeEntryPath(""), "");
  EXPECT_EQ(SafeEntryPath(".\\./"), "");
}

}  // namespace
}  // namespace oxlip::archive

#include "archive/name_pattern.h"

#include <gtest/gtest.h>

#include "archive/entry_name.h"

namespace oxlip::archive {
namespace {

TEST(NamePattern, WildcardsIgnoreCaseAndPatternsCoverWhatIsBelowThem) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } wildcards[] = {
      {"meta-inf", "META-INF", true}, {"*", "", true},    {"*.class", "Minecraft.CLASS", true},
      {"a*b*c", "aXbYbZc", true},     {"?x", "ax", true}, {"?x", "x", false},
      {"a*b", "aXbY", false}};
  for (const auto& w : wildcards)
    EXPECT_EQ(WildcardMatch(w.pattern, w.name), w.matches) << w.pattern << " " << w.name;

  const struct {
    const char* pattern;
    bool any_depth;
    const char* name;
    bool covered;
  } cases[] = {
      {"meta-inf", false, "META-INF/", true},
      {"meta-inf", false, "META-INF/MANIFEST.MF", true},
      {"meta-inf", false, "lib/META-INF/x", false},
      {"meta-inf", false, "META-INF2/x", false},
      {"net\\minecraft\\client\\Minecraft.class", false, "net/minecraft/client/minecraft.class",
       true},
      {"net\\minecraft\\client\\Minecraft.class", false, "net/minecraft/client", false},
      {"meta-inf", true, "lib/Meta-Inf/x.sf", true},
      {"meta-inf", true, "meta-inf", true},
      {"meta-inf", true, "lib/meta-info", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NamePattern(c.pattern, c.any_depth).Covers(c.name), c.covered) << c.name;
}

// Real mod zips hold "./" entries, and a packed pipe has no name: they name nothing to write,
// which is not the same as a name that leaves the folder.
TEST(SafeEntryPath, RefusesNamesThatLeaveTheFolder) {
  EXPECT_EQ(SafeEntryPath("a\\b/./c"), "a/b/c");
  EXPECT_EQ(SafeEntryPath("dir/"), "dir");
  for (const char* nothing : {"./", ".", "", ".\\./"}) EXPECT_EQ(SafeEntryPath(nothing), "");
  for (const char* bad :
       {"../evil", "a/../../evil", "/etc/passwd", "\\evil", "C:evil", "/", "./../evil"})
    EXPECT_FALSE(SafeEntryPath(bad)) << bad;
}

}  // namespace
}  // namespace oxlip::archive

// Names: wildcards and patterns, entry names that leave the folder, and the 7z header's numbers
// and names where the format fixes the bytes. Whole headers are read back by libarchive and the
// 7-Zip program in the writer's tests.
#include <gtest/gtest.h>

#include <limits>

#include "archive/entry_name.h"
#include "archive/name_pattern.h"
#include "archive/sevenz_header.h"

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

std::string Number(std::uint64_t value) {
  std::string out;
  AppendSevenZNumber(&out, value);
  return out;
}

// The format's rule, read independently: the first byte's leading ones count the bytes that
// follow; its remaining bits are the value's highest.
std::uint64_t Decode(const std::string& bytes) {
  auto first = static_cast<std::uint8_t>(bytes[0]);
  int extra = 0;
  while (extra < 8 && (first & (0x80 >> extra))) ++extra;
  std::uint64_t value = 0;
  for (int i = 0; i < extra; ++i)
    value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes[1 + i])) << (8 * i);
  if (extra < 7) value |= static_cast<std::uint64_t>(first & (0x7F >> extra)) << (8 * extra);
  EXPECT_EQ(bytes.size(), static_cast<std::size_t>(1 + extra));
  return value;
}

TEST(SevenZNumber, EncodesEachLengthAtItsBoundaries) {
  EXPECT_EQ(Number(5000000000ull), std::string("\xF1\x00\xF2\x05\x2A", 5));  // a 5 GB file
  EXPECT_EQ(Decode(Number(std::numeric_limits<std::uint64_t>::max())), ~0ull);
  for (int bit = 0; bit < 64; ++bit) {
    for (std::uint64_t value : {(1ull << bit) - 1, 1ull << bit, (1ull << bit) + 1}) {
      SCOPED_TRACE(value);
      EXPECT_EQ(Decode(Number(value)), value);
    }
  }
}

TEST(SevenZNames, Utf8BecomesUtf16WithSurrogatesAndBadBytesAreRefused) {
  std::string out;
  ASSERT_TRUE(AppendUtf16Le(&out, "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"));
  EXPECT_EQ(out, std::string("a\0\xE9\0\xE5\x65\x3D\xD8\x00\xDE", 10));
  for (const char* bad : {"\xC0\x80", "\x80", "\xE6\x97", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xE0\x80\x80", "a\xFF"}) {
    std::string ignored;
    EXPECT_FALSE(AppendUtf16Le(&ignored, bad)) << bad;
  }
}

TEST(SevenZHeader, StreamsAndEntriesMustAgreeAndNamesBeUtf8) {
  SevenZFolder folder;
  folder.sizes = {1, 2};
  folder.crcs = {0, 0};
  const SevenZItem file = {"a", true, false, SevenZAttributes(SevenZKind::kFile, 0640), 0};
  std::string header, error;
  EXPECT_FALSE(EncodeSevenZHeader({folder}, {file}, &header, &error));
  EXPECT_FALSE(error.empty());
  SevenZItem bad_name = file;
  bad_name.name = "\xFF";
  EXPECT_FALSE(EncodeSevenZHeader({folder}, {file, bad_name}, &header, &error));
  EXPECT_NE(error.find("UTF-8"), std::string::npos);
  EXPECT_TRUE(EncodeSevenZHeader({}, {}, &header, &error));  // an archive of no entries
  EXPECT_TRUE(header.empty());
}

}  // namespace
}  // namespace oxlip::archive

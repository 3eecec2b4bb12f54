#include "prefs/pref_document.h"

#include <gtest/gtest.h>

#include "prefs/text_encoding.h"

namespace oxlip::prefs {
namespace {

TEST(PrefNumber, ReadsLikeDecimalConversion) {
  EXPECT_EQ(ParsePrefNumber("  -12x"), -12);
  EXPECT_EQ(ParsePrefNumber("+7"), 7);
  EXPECT_EQ(ParsePrefNumber(""), 0);
  EXPECT_EQ(ParsePrefNumber("- 5"), 0);
  EXPECT_EQ(ParsePrefNumber("99999999999"), 2147483647);
  EXPECT_EQ(ParsePrefNumber("-99999999999"), -2147483647 - 1);
}

TEST(PrefParse, LineEndsAndKindsAreRecognised) {
  PrefDocument doc = ParsePrefText("a=1\rb=2\r\n\r\n;  c\n[g]x\n[h");
  ASSERT_EQ(doc.entries.size(), 5u);
  EXPECT_EQ(doc.entries[1].name, "b");
  EXPECT_EQ(doc.entries[2].kind, PrefEntry::Kind::kComment);
  EXPECT_EQ(doc.entries[2].name, " c");
  EXPECT_EQ(doc.entries[3].name, "g");
  EXPECT_EQ(doc.entries[4].name, "h");
  EXPECT_FALSE(doc.utf8);
  EXPECT_TRUE(ParsePrefText("\xEF\xBB\xBF").utf8);
  EXPECT_TRUE(ParsePrefText("\xEF\xBB").entries.size() == 1);
}

TEST(TextEncoding, Latin1RoundTripAndReplacement) {
  EXPECT_EQ(Latin1ToUtf8("J\xFCrgen"), "J\xC3\xBCrgen");
  EXPECT_EQ(Utf8ToLatin1("J\xC3\xBCrgen"), "J\xFCrgen");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC"), "?");  // beyond ISO 8859-1
  EXPECT_EQ(Utf8ToLatin1("\xC0\x80"), "??");     // overlong
  EXPECT_EQ(Utf8ToLatin1("a\xE2\x82"), "a??");   // truncated at the end
  EXPECT_EQ(SanitizeUtf8("ok\xE2\x82\xAC\xED\xA0\x80"), "ok\xE2\x82\xAC???");
}

}  // namespace
}  // namespace oxlip::prefs

#include <gtest/gtest.h>

#include "versions/remote_list.h"

namespace oxlip {
namespace {

constexpr const char* kUrl = "http://127.0.0.1:1/MinecraftResources/";

std::string Contents(const std::string& key, const std::string& etag =
                                                 "&quot;0123456789abcdef"
                                                 "0123456789abcdef&quot;") {
  return "<Contents><Key>" + key +
         "</Key><LastModified>2011-11-18T12:34:56.000Z</LastModified>"
         "<ETag>" +
         etag + "</ETag><Size>42</Size><StorageClass>STANDARD</StorageClass></Contents>";
}

TEST(ListingParse, FieldsOfEveryElementOnALine) {
  std::vector<RemoteFile> files;
  versions::ParseListing("<?xml version=\"1.0\"?>\n<ListBucketResult><Name>b</Name>" +
                             Contents("resources/sound/") + Contents("resources/sound/step 1.ogg") +
                             Contents("a%b") + "</ListBucketResult>",
                         kUrl, files);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].Path, "resources\\sound\\step 1.ogg");
  EXPECT_EQ(files[0].URL, std::string(kUrl) + "resources/sound/step%201.ogg");
  EXPECT_EQ(files[0].ETag, "0123456789abcdef0123456789abcdef");
  EXPECT_EQ(files[0].Size, 42);
  EXPECT_EQ(files[0].Date, 1321619696);  // as written, no zone applied
  EXPECT_EQ(files[1].URL, std::string(kUrl) + "a%25b");
}

TEST(ListingParse, ElementsSplitAcrossLinesOrMalformedAreDropped) {
  std::vector<RemoteFile> files;
  versions::ParseListing("<Contents><Key>x</Key>\n</Contents>\n<Contents><Key>y" + Contents("z"),
                         kUrl, files);
  // The second line holds an unclosed element whose text runs into the next one's close.
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(files.back().Path, "z");
  files.clear();
  versions::ParseListing("<Error><Code>NoSuchBucket</Code></Error>", kUrl, files);
  EXPECT_TRUE(files.empty());
}

TEST(ListingParse, KeysBecomePathsThatNoServerReadsOtherwise) {
  EXPECT_EQ(versions::PercentEncode("a-_.~/Z9"), "a-_.~/Z9");
  EXPECT_EQ(versions::PercentEncode("a#b?c&d'e+f"), "a%23b%3Fc%26d%27e%2Bf");
  EXPECT_EQ(versions::PercentEncode("\xC3\xBC %\""), "%C3%BC%20%25%22");
}

TEST(ListingParse, KeysAreDecodedAsXmlText) {
  std::vector<RemoteFile> files;
  versions::ParseListingLine(
      "<Contents><Key>a&amp;b&#x27;c&#39;d&lt;&quot;&#xFC;&amp;amp;&bogus;&#0;</Key>"
      "<ETag>&quot;abc&quot;</ETag></Contents>",
      "http://h/", files);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].Path, "a&b'c'd<\"\xC3\xBC&amp;&bogus;&#0;");
  EXPECT_EQ(files[0].ETag, "abc");
  EXPECT_EQ(files[0].URL, "http://h/a%26b%27c%27d%3C%22%C3%BC%26amp%3B%26bogus%3B%26%230%3B");
}

// Only the quotes around the digest go: what stands between them is kept as decoded.
TEST(ListingParse, ETagLosesOnlyTheQuotesAroundIt) {
  const std::pair<const char*, const char*> kCases[] = {
      {"&quot;abc&quot;", "abc"},          {"\"abc\"", "abc"},
      {"&#34;d1-2&#x22;", "d1-2"},         {"abc", "abc"},
      {"&qu&quot;ot;", "&qu\"ot;"},        {"&quot;a&quot;b&quot;", "a\"b"},
      {"&quot;&amp;quot;&quot;", "&quot;"}};
  for (const auto& [written, etag] : kCases) {
    SCOPED_TRACE(written);
    std::vector<RemoteFile> files;
    versions::ParseListingLine(Contents("k", written), kUrl, files);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].ETag, etag);
  }
}

TEST(RemoteLookup, FindIgnoresCaseAndSetsCurrent) {
  versions::RemoteFileList list;
  list.files = {{"lwjgl.jar", "", 0, "", 0}, {"minecraft.jar", "", 0, "", 0}};
  EXPECT_EQ(FindRemoteFile(list, "MINECRAFT.JAR"), 1);
  EXPECT_EQ(list.Current()->Path, "minecraft.jar");
  EXPECT_EQ(FindRemoteFile(list, "none"), 0);
  EXPECT_EQ(list.current, 1);
}

}  // namespace
}  // namespace oxlip

#include <gtest/gtest.h>

#include "versions/remote_list.h"

namespace oxlip {
namespace {

constexpr const char* kUrl = "http://127.0.0.1:1/MinecraftResources/";

std::string Contents(const std::string& key, const std::string& etag = "&quot;0123&quot;") {
  return "<Contents><Key>" + key + "</Key><LastModified>2011-11-18T12:34:56.000Z</LastModified>" +
         "<ETag>" + etag + "</ETag><Size>42</Size><StorageClass>STANDARD</StorageClass></Contents>";
}

// Folders are skipped; an unclosed element runs into the next one's close.
TEST(ListingParse, FieldsOfEveryElementOnALine) {
  std::vector<RemoteFile> files;
  versions::ParseListing(
      "<?xml version=\"1.0\"?>\n<ListBucketResult><Name>b</Name>" + Contents("resources/sound/") +
          Contents("resources/sound/step 1.ogg") +
          "</ListBucketResult>\n<Contents><Key>x</Key>\n</Contents>\n<Contents><Key>y" +
          Contents("z") + "\n<Error><Code>NoSuchBucket</Code></Error>",
      kUrl, files);
  ASSERT_GE(files.size(), 2u);
  EXPECT_EQ(files[0].Path, "resources\\sound\\step 1.ogg");
  EXPECT_EQ(files[0].URL, std::string(kUrl) + "resources/sound/step%201.ogg");
  EXPECT_EQ(files[0].ETag, "0123");
  EXPECT_EQ(files[0].Size, 42);
  EXPECT_EQ(files[0].Date, 1321619696);  // as written, no zone applied
  EXPECT_EQ(files.back().Path, "z");
}

// Keys are XML text, become paths no server reads otherwise; only the quotes around the
// digest go.
TEST(ListingParse, KeysAndETagsAreDecodedAsXmlText) {
  const struct {
    const char *key, *etag, *path, *url, *digest;
  } cases[] = {
      {"a-_.~/Z9#?&amp;'+", "abc", "a-_.~\\Z9#?&'+", "a-_.~/Z9%23%3F%26%27%2B", "abc"},
      {"\xC3\xBC %\"", "\"abc\"", "\xC3\xBC %\"", "%C3%BC%20%25%22", "abc"},
      {"a&#x27;c&#39;d&lt;&#xFC;", "&#34;d1-2&#x22;", "a'c'd<\xC3\xBC", "a%27c%27d%3C%C3%BC",
       "d1-2"},
      {"&amp;amp;&bogus;&#0;", "&qu&quot;ot;", "&amp;&bogus;&#0;", "%26amp%3B%26bogus%3B%26%230%3B",
       "&qu\"ot;"},
      {"k", "&quot;a&quot;b&quot;", "k", "k", "a\"b"},
      {"k", "&quot;&amp;quot;&quot;", "k", "k", "&quot;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    std::vector<RemoteFile> files;
    versions::ParseListingLine(Contents(c.key, c.etag), kUrl, files);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].Path, c.path);
    EXPECT_EQ(files[0].URL, kUrl + std::string(c.url));
    EXPECT_EQ(files[0].ETag, c.digest);
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

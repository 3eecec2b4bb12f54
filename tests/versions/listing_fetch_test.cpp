// Bucket listings: parsed from text, and fetched from the mirror (the hour-long cache, real
// answers, several pages).
#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "platform/fs.h"
#include "support/served_buckets.h"
#include "versions/download_engine.h"
#include "versions/remote_list.h"

namespace oxlip {
namespace {

using ListingFetch = test::ServedBuckets;

TEST_F(ListingFetch, FetchedAtMostOnceAnHour) {
  Serve("download/lwjgl.jar", "lwjgl");
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 1);
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 1);
  EXPECT_EQ(CountRequests("/download/"), 1);
  std::string cached = settings.CacheDir + "download-index.xml";
  platform::SetFileDate(cached, platform::NowDateValue() - 3601);
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 1);
  EXPECT_EQ(CountRequests("/download/"), 2);
  test::WriteFile(cached, "");  // an empty copy is no copy
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 1);
  EXPECT_EQ(CountRequests("/download/"), 3);
  EXPECT_EQ(remote.download_prefix, settings.CacheDir + "download\\");

  // Fetched ahead, together: only the listing that was due is asked for, once.
  Serve("resources/sound/step.ogg", "step");
  versions::PrefetchListings(settings,
                             {{settings.MCURL, "download\\"}, {settings.MCRESURL, "resources\\"}});
  EXPECT_EQ(CountRequests("/resources/"), 1);
  EXPECT_EQ(CountRequests("/download/"), 3);
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCRESURL, "resources\\"), 1);
  EXPECT_EQ(CountRequests("/resources/"), 1);
}

// Folders are skipped; keys that XML escapes or URLs reserve arrive whole.
TEST_F(ListingFetch, ARealListingGivesEveryFileItsFields) {
  const std::vector<std::string> names = {"R&D.ogg", "it's.ogg", "#1.ogg", "a+b c?.ogg",
                                          "\xC3\xBC.ogg"};
  for (const std::string& name : names) Serve("resources/sound/" + name, name, 1300000000);
  Serve("resources/music/calm.ogg", "calm");
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCRESURL, "resources\\"), 6);
  EXPECT_EQ(remote.files[0].Path, "music\\calm.ogg");
  EXPECT_EQ(remote.files[1].Path, "sound\\#1.ogg");
  EXPECT_EQ(remote.files[1].Date, 1300000000);  // the listing's UTC fields, taken as written
  for (const std::string& name : names) {
    ASSERT_EQ(FindRemoteFile(remote, "sound\\" + name), 1) << name;
    ASSERT_EQ(DownloadMCFile(context, dir() + "got/" + name, ""), 1) << name;
  }
  ASSERT_EQ(DoDownloads(context, nullptr), 1);
  for (const std::string& name : names) EXPECT_EQ(test::ReadFile(dir() + "got/" + name), name);
}

TEST_F(ListingFetch, EveryPageOfALongListingIsRead) {
  for (int i = 0; i < 1100; ++i) Serve("assets/f" + std::to_string(i), "x");
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_EQ(GetMCFileList(settings, remote, settings.MCASSETSURL, "assets\\"), 1100);
  std::set<std::string> paths;
  for (const RemoteFile& file : remote.files) paths.insert(file.Path);
  EXPECT_EQ(paths.size(), 1100u);
  std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  // The second page starts after the last key of the first, the 1000th in byte order.
  EXPECT_EQ(requests[0], "GET /assets/");
  EXPECT_EQ(requests[1], "GET /assets/?marker=" + *std::next(paths.begin(), 999));
}

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

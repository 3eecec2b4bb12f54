// The download engine against the mirror: bucket listings (parsed, fetched once an hour, real
// answers, several pages), download batches (what costs a transfer, faults, stalls, progress),
// and what DownloadMCFile refuses before any server is asked.
#include <gtest/gtest.h>

#include <cerrno>
#include <iterator>
#include <set>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/http.h"
#include "platform/md5.h"
#include "platform/path.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"
#include "versions/batch_progress.h"
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

using Names = std::vector<std::string>;

class DoDownloadsTest : public test::ServedBuckets {
 protected:
  // Serves `count` files "f<i>.jar" of growing sizes in the download bucket; their names.
  Names ServeJars(int count, std::size_t size) {
    Names names;
    for (int i = 0; i < count; ++i) {
      names.push_back("f" + std::to_string(i) + ".jar");
      Serve("download/" + names.back(), test::FileBytes(names.back(), size + 1000 * i));
    }
    return names;
  }
  // Lists the download bucket and asks for each name with a target in "game/".
  void Ask(const Names& names) {
    ASSERT_GT(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 0);
    for (const std::string& name : names) ASSERT_EQ(DownloadMCFile(context, name, Target(name)), 1);
  }
  std::string Target(const std::string& name) { return dir() + "game/" + name; }
  std::string Served(const std::string& name) { return test::ReadFile(root_ + "download/" + name); }
  std::string Cached(const std::string& name) { return settings.CacheDir + "download\\" + name; }
  std::string CantDownload(const std::string& name) {
    return "DoDownloads:Can't download " + settings.MCURL + name + " to " +
           platform::NativePath(Cached(name));
  }
};

// Progress runs once over the whole batch, with each file's name as its transfer starts; the
// time text says nothing of the end before a byte came (its form is the batch progress's).
TEST_F(DoDownloadsTest, FilesInPlaceOrInTheCacheCostNoTransferAndAFailedCopyIsReported) {
  Names names = ServeJars(2, 150000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_NO_FATAL_FAILURE(Ask(names));
  ASSERT_EQ(queue.size(), 2u);
  test::RecordingProgress progress;
  ASSERT_EQ(DoDownloads(context, &progress), 1);
  EXPECT_TRUE(queue.empty());
  ASSERT_FALSE(progress.percents.empty());
  EXPECT_EQ(progress.percents.front(), 0);
  EXPECT_EQ(progress.percents.back(), 100);
  for (size_t i = 1; i < progress.percents.size(); ++i)
    EXPECT_LT(progress.percents[i - 1], progress.percents[i]);
  ASSERT_EQ(progress.times.size(), progress.percents.size());
  EXPECT_EQ(progress.times.front(), "0:00 ETA:-:--");
  EXPECT_EQ(progress.names, names);
  platform::DateValue served_date = platform::ToDateValue(test::kServedTime);
  EXPECT_EQ(platform::FileDate(Cached("f1.jar")), served_date);

  platform::DeleteFile(Target("f0.jar"));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar", "f1.jar"}));
  EXPECT_TRUE(queue.empty());
  ASSERT_EQ(DoDownloads(context, nullptr), 1);
  for (const char* name : {"f0.jar", "f1.jar"}) {
    EXPECT_EQ(test::ReadFile(Target(name)), Served(name));
    EXPECT_EQ(platform::FileDate(Target(name)), served_date);
    EXPECT_EQ(CountRequests(std::string("/download/") + name), 1);
  }

  // A failed copy to a target is reported, keeps the old one, and the batch goes on. A name at
  // the file-system limit leaves no room for the temporary name beside it.
  std::string long_target = dir() + "game/" + std::string(255, 'n');
  test::WriteFile(long_target, "old jar");
  for (const char* name : {"f0.jar", "f1.jar"}) platform::DeleteFile(Cached(name));
  platform::DeleteFile(Target("f1.jar"));
  ASSERT_EQ(DownloadMCFile(context, "f0.jar", long_target), 1);
  ASSERT_EQ(DownloadMCFile(context, "f1.jar", Target("f1.jar")), 1);
  EXPECT_EQ(DoDownloads(context, nullptr), 1);
  EXPECT_EQ(base::LastErrorText(), "DoDownloads:Can't copy " +
                                       platform::NativePath(Cached("f0.jar")) + " to " +
                                       long_target + ": " + platform::ReasonText(ENAMETOOLONG));
  EXPECT_EQ(test::ReadFile(long_target), "old jar");
  EXPECT_EQ(test::ReadFile(Target("f1.jar")), Served("f1.jar"));
  EXPECT_TRUE(queue.empty());
}

// Nothing half-written stays in the cache or the target's place; the queue is kept for the
// next run, which succeeds.
TEST_F(DoDownloadsTest, ACorruptDroppedOrStalledTransferKeepsTheOldTarget) {
  ServeJars(1, 200000);  // more than one piece of the answer: the wrong byte is in the middle
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  const struct {
    const char* fault;
    bool stall_limit;  // the slow answer comes at about 50 kB/s: 10 MB/s counts it as stalled
    std::string message;
  } cases[] = {{"wrong:/download/f0.jar", false,
                "DoDownloads: Corrupt Download " + settings.MCURL + "f0.jar"},
               {"drop:/download/f0.jar", false, CantDownload("f0.jar")},
               {"slow:/download/f0.jar", true, CantDownload("f0.jar")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    platform::DeleteFile(Cached("f0.jar"));
    test::WriteFile(Target("f0.jar"), "old jar");
    ASSERT_TRUE(mirror_->AddFault(c.fault));
    if (c.stall_limit) platform::SetStallLimit(10'000'000, 1);
    ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar"}));
    EXPECT_EQ(DoDownloads(context, nullptr), 0);
    platform::SetStallLimit(1, 30);
    EXPECT_EQ(base::LastErrorText(), c.message);
    EXPECT_EQ(test::ReadFile(Target("f0.jar")), "old jar");
    EXPECT_EQ(Listed(dir() + "game"), Names{"f0.jar"});
    EXPECT_EQ(Listed(settings.CacheDir + "download"), Names{});
    ASSERT_EQ(queue.size(), 1u);
    ASSERT_TRUE(mirror_->ClearFaults());
    EXPECT_EQ(DoDownloads(context, nullptr), 1);
    EXPECT_EQ(test::ReadFile(Target("f0.jar")), Served("f0.jar"));
  }
}

// The failure first in queue order is reported whichever ends first; the files before it
// arrive, the queue stays whole and nothing stopped half way is left in the cache.
TEST_F(DoDownloadsTest, AFailureInABatch) {
  Names names = ServeJars(5, 100000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  const struct {
    Names faults;
    const char* reported;
    Names arrived;  // when it does not depend on speed
  } cases[] = {
      {{"slow:/download/f0.jar", "404:/download/f4.jar"},
       "f4.jar",
       {"f0.jar", "f1.jar", "f2.jar", "f3.jar"}},
      {{"404:/download/f0.jar", "slow:/download/f1.jar", "404:/download/f2.jar"}, "f0.jar", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reported);
    platform::DeleteTree(dir() + "game");
    platform::DeleteTree(settings.CacheDir + "download");
    queue.clear();
    for (const std::string& fault : c.faults) ASSERT_TRUE(mirror_->AddFault(fault));
    ASSERT_NO_FATAL_FAILURE(Ask(names));
    EXPECT_EQ(DoDownloads(context, nullptr), 0);
    EXPECT_EQ(base::LastErrorText(), CantDownload(c.reported));
    EXPECT_TRUE(c.arrived.empty() || Listed(dir() + "game") == c.arrived);
    EXPECT_EQ(queue.size(), names.size());
    for (const std::string& name : Listed(settings.CacheDir + "download"))
      EXPECT_EQ(test::ReadFile(settings.CacheDir + "download/" + name), Served(name)) << name;
    ASSERT_TRUE(mirror_->ClearFaults());
  }
}

TEST_F(DoDownloadsTest, UnknownNamesKeysThatLeaveTheirFolderAndFailedCopiesAreRefused) {
  remote.download_prefix = settings.CacheDir + "download\\";
  for (const char* path : {"..\\..\\outside.txt", "/etc/motd", "lwjgl.jar"})
    remote.files.push_back({path, "http://127.0.0.1:9/", 1300000000, platform::Md5Hex("new"), 3});
  // A name at the file-system limit leaves no room for the temporary name beside it.
  const std::string long_target = dir() + std::string(255, 'n');
  test::WriteFile(long_target, "old");
  test::WriteFile(settings.CacheDir + "download/lwjgl.jar", "new");
  const struct {
    std::string name, target, message;
    int current = -1;  // the walking form (no target) takes the current entry
  } cases[] = {
      {"missing.jar", dir() + "bin/missing.jar", "DownloadMCFile: Can't find missing.jar"},
      {dir() + "resources/a", "", "DownloadMCFile: Can't find " + dir() + "resources/a"},
      {"..\\..\\outside.txt", dir() + "bin/x",
       "DownloadMCFile: Unsafe remote path ..\\..\\outside.txt"},
      {dir() + "resources/motd", "", "DownloadMCFile: Unsafe remote path /etc/motd", 1},
      {"LWJGL.JAR", long_target,
       "DownloadMCFile:Can't copy " + settings.CacheDir + "download/lwjgl.jar to " + long_target +
           ": " + platform::ReasonText(ENAMETOOLONG)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remote.current = c.current;
    EXPECT_EQ(DownloadMCFile(context, c.name, c.target), 0);
    EXPECT_EQ(base::LastErrorText(), c.message);
  }
  EXPECT_EQ(test::ReadFile(long_target), "old");
  EXPECT_TRUE(queue.empty());
}

// Minutes and two-digit seconds, truncated; no estimate before the first byte, and a stalled
// start must not turn into a giant or undefined one.
TEST(BatchProgress, TimeTextAndPercentOverTheWholeBatch) {
  const struct {
    int elapsed_ms;
    std::int64_t done, total;
    const char* text;
    int percent;
  } cases[] = {{7000, 7, 102, "0:07 ETA:1:42", 6},
               {3599999, 100, 100, "59:59 ETA:59:59", 100},
               {3600000, 1, 2, "60:00 ETA:120:00", 50},
               {999, 1, 1000, "0:00 ETA:16:39", 0},
               {61000, 0, 5000000, "1:01 ETA:-:--", 0},
               {1000, 1, 2000000000000, "0:01 ETA:525600:00", 0},
               {0, 299, 300, "0:00 ETA:0:00", 99},
               {0, 600, 300, "0:00 ETA:0:00", 100},  // a server that sends more than listed
               {0, 3000000000, 4000000000, "0:00 ETA:0:00", 75}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(versions::BatchTimeText(c.elapsed_ms, c.done, c.total), c.text);
    EXPECT_EQ(versions::BatchPercent(c.done, c.total), c.percent);
  }
  EXPECT_EQ(versions::BatchPercent(0, 0), 100);  // only empty files: nothing left to wait for
}

}  // namespace
}  // namespace oxlip

// Bucket listings fetched from the mirror: the hour-long cache, real answers, several pages.
#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "platform/fs.h"
#include "platform/md5.h"
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
  PrefetchListings(settings, {{settings.MCURL, "download\\"}, {settings.MCRESURL, "resources\\"}});
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
  const RemoteFile& first = remote.files[1];
  EXPECT_EQ(remote.files[0].Path, "music\\calm.ogg");
  EXPECT_EQ(first.Path, "sound\\#1.ogg");
  EXPECT_EQ(first.ETag, platform::Md5Hex("#1.ogg"));
  EXPECT_EQ(first.Size, 6);
  EXPECT_EQ(first.Date, 1300000000);  // the listing's UTC fields, taken as written
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

}  // namespace
}  // namespace oxlip

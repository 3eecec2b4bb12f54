// Download batches against the mirror: what costs a transfer, faults, progress, cancelling.
#include <gtest/gtest.h>

#include <cerrno>
#include <regex>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/http.h"
#include "platform/path.h"
#include "support/scripted_ui.h"
#include "support/served_buckets.h"
#include "versions/download_engine.h"

namespace oxlip {
namespace {

class DoDownloadsTest : public test::ServedBuckets {
 protected:
  // Serves `count` files "f<i>.jar" of growing sizes in the download bucket.
  void ServeJars(int count, std::size_t size) {
    for (int i = 0; i < count; ++i) {
      std::string name = "f" + std::to_string(i) + ".jar";
      Serve("download/" + name, test::FileBytes(name, size + 1000 * i));
    }
  }
  // Lists the download bucket and asks for each name with a target in "game/".
  void Ask(const std::vector<std::string>& names) {
    ASSERT_GT(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 0);
    for (const std::string& name : names) ASSERT_EQ(DownloadMCFile(context, name, Target(name)), 1);
  }
  std::string Target(const std::string& name) { return dir() + "game/" + name; }
  std::string Served(const std::string& name) { return test::ReadFile(root_ + "download/" + name); }
  std::string Cached(const std::string& name) { return settings.CacheDir + "download\\" + name; }
  std::string Url(const std::string& name) { return settings.MCURL + name; }
};

TEST_F(DoDownloadsTest, FilesInPlaceOrInTheCacheCostNoTransfer) {
  ServeJars(2, 3000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar", "f1.jar"}));
  ASSERT_EQ(queue.size(), 2u);
  ASSERT_EQ(DoDownloads(context, nullptr), 1);
  EXPECT_TRUE(queue.empty());
  EXPECT_EQ(test::ReadFile(Target("f1.jar")), Served("f1.jar"));
  platform::DateValue served_date = platform::ToDateValue(test::kServedTime);
  EXPECT_EQ(platform::FileDate(Target("f1.jar")), served_date);
  EXPECT_EQ(platform::FileDate(Cached("f1.jar")), served_date);

  platform::DeleteFile(Target("f0.jar"));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar", "f1.jar"}));
  EXPECT_TRUE(queue.empty());
  ASSERT_EQ(DoDownloads(context, nullptr), 1);
  EXPECT_EQ(test::ReadFile(Target("f0.jar")), Served("f0.jar"));
  EXPECT_EQ(platform::FileDate(Target("f0.jar")), served_date);
  EXPECT_EQ(CountRequests("/download/f0.jar"), 1);
  EXPECT_EQ(CountRequests("/download/f1.jar"), 1);
}

TEST_F(DoDownloadsTest, CorruptDownloadStopsTheBatchAndLeavesTheTarget) {
  ServeJars(1, 5000);
  test::WriteFile(Target("f0.jar"), "old jar");
  ASSERT_NO_FATAL_FAILURE(StartMirror({"--fault", "wrong:/download/f0.jar"}));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar"}));
  EXPECT_EQ(DoDownloads(context, nullptr), 0);
  EXPECT_EQ(base::LastErrorText(), "DoDownloads: Corrupt Download " + Url("f0.jar"));
  EXPECT_EQ(test::ReadFile(Target("f0.jar")), "old jar");
  EXPECT_EQ(Listed(dir() + "game"), std::vector<std::string>{"f0.jar"});
  EXPECT_EQ(Listed(settings.CacheDir + "download"), std::vector<std::string>{});
  EXPECT_EQ(queue.size(), 1u);
}

TEST_F(DoDownloadsTest, FailedCopyToATargetIsReportedKeepsTheOldOneAndTheBatchGoesOn) {
  ServeJars(2, 3000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_GT(GetMCFileList(settings, remote, settings.MCURL, "download\\"), 0);
  // A name at the file-system limit leaves no room for the temporary name beside it.
  std::string long_target = dir() + "game/" + std::string(255, 'n');
  test::WriteFile(long_target, "old jar");
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

TEST_F(DoDownloadsTest, DroppedConnectionLeavesNothingNewAndTheNextRunSucceeds) {
  ServeJars(1, 200000);
  test::WriteFile(Target("f0.jar"), "old jar");
  ASSERT_NO_FATAL_FAILURE(StartMirror({"--fault", "drop:/download/f0.jar"}));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar"}));
  EXPECT_EQ(DoDownloads(context, nullptr), 0);
  EXPECT_EQ(base::LastErrorText(), "DoDownloads:Can't download " + Url("f0.jar") + " to " +
                                       platform::NativePath(Cached("f0.jar")));
  EXPECT_EQ(Listed(settings.CacheDir + "download"), std::vector<std::string>{});
  EXPECT_EQ(Listed(dir() + "game"), std::vector<std::string>{"f0.jar"});
  EXPECT_EQ(test::ReadFile(Target("f0.jar")), "old jar");
  ASSERT_EQ(queue.size(), 1u);
  ASSERT_TRUE(mirror_->ClearFaults());
  EXPECT_EQ(DoDownloads(context, nullptr), 1);
  EXPECT_EQ(test::ReadFile(Target("f0.jar")), Served("f0.jar"));
}

TEST_F(DoDownloadsTest, ProgressRunsOnceOverTheWholeBatch) {
  ServeJars(12, 150000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  std::vector<std::string> names;
  for (int i = 0; i < 12; ++i) names.push_back("f" + std::to_string(i) + ".jar");
  ASSERT_NO_FATAL_FAILURE(Ask(names));
  test::RecordingProgress progress;
  ASSERT_EQ(DoDownloads(context, &progress), 1);
  ASSERT_FALSE(progress.percents.empty());
  EXPECT_EQ(progress.percents.front(), 0);
  EXPECT_EQ(progress.percents.back(), 100);
  for (size_t i = 1; i < progress.percents.size(); ++i)
    EXPECT_LT(progress.percents[i - 1], progress.percents[i]);
  // The time text changes with the percent, and says nothing of the end before a byte came.
  ASSERT_EQ(progress.times.size(), progress.percents.size());
  EXPECT_EQ(progress.times.front(), "0:00 ETA:-:--");
  std::regex clock(R"(\d+:\d\d ETA:\d+:\d\d)");
  for (size_t i = 1; i < progress.times.size(); ++i)
    EXPECT_TRUE(std::regex_match(progress.times[i], clock)) << progress.times[i];
  EXPECT_EQ(progress.names, names);  // each file's name as its transfer starts
}

TEST_F(DoDownloadsTest, AFailureLetsTheEarlierFilesArriveAndKeepsTheQueue) {
  ServeJars(5, 100000);
  // f0 trickles in for about two seconds; f4 is missing and fails while f0 still runs.
  ASSERT_NO_FATAL_FAILURE(
      StartMirror({"--fault", "slow:/download/f0.jar", "--fault", "404:/download/f4.jar"}));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar", "f1.jar", "f2.jar", "f3.jar", "f4.jar"}));
  versions::DownloadQueue before = queue;
  EXPECT_EQ(DoDownloads(context, nullptr), 0);
  EXPECT_EQ(base::LastErrorText(), "DoDownloads:Can't download " + Url("f4.jar") + " to " +
                                       platform::NativePath(Cached("f4.jar")));
  EXPECT_EQ(Listed(dir() + "game"),
            (std::vector<std::string>{"f0.jar", "f1.jar", "f2.jar", "f3.jar"}));
  ASSERT_EQ(queue.size(), before.size());
  for (size_t i = 0; i < queue.size(); ++i) EXPECT_EQ(queue[i].Target, before[i].Target);
}

TEST_F(DoDownloadsTest, TheFailureFirstInQueueOrderIsReportedWhicheverEndsFirst) {
  ServeJars(4, 100000);
  // f2 may fail before f0 or after it; f1 may be cancelled on its way.
  ASSERT_NO_FATAL_FAILURE(
      StartMirror({"--fault", "404:/download/f0.jar", "--fault", "slow:/download/f1.jar", "--fault",
                   "404:/download/f2.jar"}));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar", "f1.jar", "f2.jar", "f3.jar"}));
  EXPECT_EQ(DoDownloads(context, nullptr), 0);
  EXPECT_EQ(base::LastErrorText(), "DoDownloads:Can't download " + Url("f0.jar") + " to " +
                                       platform::NativePath(Cached("f0.jar")));
  EXPECT_EQ(queue.size(), 4u);
  // Whatever stopped half way left no partial file in the cache.
  for (const std::string& name : Listed(settings.CacheDir + "download"))
    EXPECT_EQ(test::ReadFile(settings.CacheDir + "download/" + name), Served(name)) << name;
}

TEST_F(DoDownloadsTest, AStalledTransferIsAbortedAndReported) {
  ServeJars(1, 100000);
  // The slow answer comes at about 50 kB/s; a limit far above that counts it as stalled.
  platform::SetStallLimit(10'000'000, 1);
  ASSERT_NO_FATAL_FAILURE(StartMirror({"--fault", "slow:/download/f0.jar"}));
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar"}));
  EXPECT_EQ(DoDownloads(context, nullptr), 0);
  platform::SetStallLimit(1, 30);
  EXPECT_EQ(base::LastErrorText(), "DoDownloads:Can't download " + Url("f0.jar") + " to " +
                                       platform::NativePath(Cached("f0.jar")));
  EXPECT_EQ(Listed(settings.CacheDir + "download"), std::vector<std::string>{});
}

}  // namespace
}  // namespace oxlip

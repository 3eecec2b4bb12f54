// Download batches against the mirror: what costs a transfer, faults, stalls, progress.
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

TEST_F(DoDownloadsTest, FilesInPlaceOrInTheCacheCostNoTransferAndAFailedCopyIsReported) {
  ServeJars(2, 3000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_NO_FATAL_FAILURE(Ask({"f0.jar", "f1.jar"}));
  ASSERT_EQ(queue.size(), 2u);
  ASSERT_EQ(DoDownloads(context, nullptr), 1);
  EXPECT_TRUE(queue.empty());
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

// Once over the whole batch, each file's name as its transfer starts; the time text says
// nothing of the end before a byte came.
TEST_F(DoDownloadsTest, ProgressRunsOnceOverTheWholeBatch) {
  Names names = ServeJars(12, 150000);
  ASSERT_NO_FATAL_FAILURE(StartMirror());
  ASSERT_NO_FATAL_FAILURE(Ask(names));
  test::RecordingProgress progress;
  ASSERT_EQ(DoDownloads(context, &progress), 1);
  ASSERT_FALSE(progress.percents.empty());
  EXPECT_EQ(progress.percents.front(), 0);
  EXPECT_EQ(progress.percents.back(), 100);
  for (size_t i = 1; i < progress.percents.size(); ++i)
    EXPECT_LT(progress.percents[i - 1], progress.percents[i]);
  ASSERT_EQ(progress.times.size(), progress.percents.size());
  EXPECT_EQ(progress.times.front(), "0:00 ETA:-:--");
  for (size_t i = 1; i < progress.times.size(); ++i)
    EXPECT_TRUE(std::regex_match(progress.times[i], std::regex(R"(\d+:\d\d ETA:\d+:\d\d)")));
  EXPECT_EQ(progress.names, names);
}

}  // namespace
}  // namespace oxlip

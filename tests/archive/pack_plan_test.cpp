// How files are judged and shared out between folders packed at the same time, and how the
// packed streams reach the archive in their order whatever order they are written and finished
// in, spilling to scratch files beside it and leaving none behind.
#include "archive/pack_plan.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <map>

#include "archive/ordered_output.h"
#include "archive/packing_choice.h"
#include "archive_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

using archive::FolderPlan;
using archive::Packing;
using archive::PlanFile;

std::string Deflated(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), 9);
  out.resize(size);
  return out;
}

TEST(ChoosePacking, RandomIsStoredTextSearchedHardAndNearlyRandomQuickly) {
  for (std::size_t size : {1024u, 4096u, 49152u}) {
    for (unsigned seed = 0; seed < 20; ++seed)
      EXPECT_EQ(archive::ChoosePacking(Noise(size, seed)), Packing::kStore) << size;
  }
  EXPECT_EQ(archive::ChoosePacking(Deflated(Noise(40000) + Text(400000))), Packing::kStore);
  EXPECT_EQ(archive::ChoosePacking(Text(49152)), Packing::kStrong);
  EXPECT_EQ(archive::ChoosePacking(Noise(1000)), Packing::kStrong);  // too few to tell
  // A zip's headers and names among deflated data: a little to gain, cheaply.
  std::string jar_like = Noise(49152, 3);
  for (std::size_t i = 0; i < jar_like.size(); i += 200) jar_like.replace(i, 30, Text(30));
  EXPECT_EQ(archive::ChoosePacking(jar_like), Packing::kFast);
}

// Every file with bytes in exactly one folder, each kind in its given order.
void ExpectEachOnce(const std::vector<PlanFile>& files, const std::vector<FolderPlan>& plan) {
  std::vector<int> seen(files.size());
  std::map<Packing, std::size_t> last;
  for (const FolderPlan& folder : plan) {
    EXPECT_FALSE(folder.files.empty());
    for (std::size_t i : folder.files) {
      ++seen[i];
      if (files[i].twin_key != 0) continue;
      EXPECT_EQ(files[i].packing, folder.packing);
      EXPECT_TRUE(!last.count(folder.packing) || i > last[folder.packing]) << i;
      last[folder.packing] = i;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(seen[i], files[i].size ? 1 : 0) << i;
}

TEST(PlanFolders, OneFolderPerKindOnOneThreadStoredFirst) {
  std::vector<PlanFile> files = {{5000, Packing::kStrong}, {0, Packing::kStrong},
                                 {9000, Packing::kStore},  {7000, Packing::kFast},
                                 {3000, Packing::kStrong}, {100, Packing::kStore}};
  std::vector<FolderPlan> plan = archive::PlanFolders(files, 1);
  ExpectEachOnce(files, plan);
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(plan[0].packing, Packing::kStore);
  EXPECT_EQ(plan[0].files, (std::vector<std::size_t>{2, 5}));
  EXPECT_EQ(plan[1].packing, Packing::kStrong);  // the costlier one starts first
  EXPECT_EQ(plan[1].dictionary, 8000u);          // no larger than its data
}

TEST(PlanFolders, WorkIsCutIntoPiecesOfAboutEqualCostForEveryThread) {
  std::vector<PlanFile> files;
  for (int i = 0; i < 400; ++i) files.push_back({50000, i % 2 ? Packing::kStrong : Packing::kFast});
  for (int i = 0; i < 40; ++i) files.push_back({2000000, Packing::kStore});
  std::vector<FolderPlan> plan = archive::PlanFolders(files, 2);
  ExpectEachOnce(files, plan);
  int strong = 0;
  for (const FolderPlan& folder : plan) strong += folder.packing == Packing::kStrong;
  EXPECT_EQ(strong, 2);  // 10 MB of text for two threads
  EXPECT_EQ(plan[0].packing, Packing::kStore);
  EXPECT_EQ(plan[1].packing, Packing::kStrong);
  // Small work is not cut: each cut costs what one piece could find in the other.
  std::vector<PlanFile> small(50, {4000, Packing::kStrong});
  EXPECT_EQ(archive::PlanFolders(small, 2).size(), 1u);
  // The strong dictionary halves with each doubling of threads, down to 8 MiB.
  for (unsigned threads : {1u, 2u, 4u, 64u})
    EXPECT_EQ(archive::StrongDictionaryLimit(threads), std::max(64u / threads, 8u) << 20);
}

class OrderedOutputTest : public InTempFolder {};

TEST_F(OrderedOutputTest, StreamsLandInOrderWhateverTheOrderOfWork) {
  // (stream, text) writes, with -1 - stream marking that stream's end.
  std::vector<std::vector<std::pair<int, std::string>>> schedules = {
      {{0, "a0"}, {1, "b0"}, {0, "a1"}, {-1, ""}, {1, "b1"}, {2, "c0"}, {-2, ""}, {-3, ""}},
      {{2, "c0"}, {-3, ""}, {1, "b0"}, {1, "b1"}, {-2, ""}, {0, "a0a1"}, {-1, ""}},
      {{1, "b0b1"}, {2, "c0"}, {-2, ""}, {0, "a0"}, {0, "a1"}, {-3, ""}, {-1, ""}},
  };
  for (std::size_t memory : {std::size_t{1}, std::size_t{1} << 20}) {
    for (std::size_t s = 0; s < schedules.size(); ++s) {
      SCOPED_TRACE(s);
      std::string path = dir() + "out" + std::to_string(memory) + "-" + std::to_string(s);
      platform::RandomAccessFile file;
      ASSERT_TRUE(file.Create(path));
      archive::OrderedOutput out(&file, path, 3, memory);
      for (const auto& [stream, text] : schedules[s]) {
        if (stream < 0) {
          EXPECT_TRUE(out.Finish(static_cast<std::size_t>(-1 - stream)));
        } else {
          EXPECT_TRUE(out.Write(static_cast<std::size_t>(stream), text.data(), text.size()));
        }
      }
      EXPECT_TRUE(out.Complete());
      EXPECT_EQ(out.StreamSize(1), 4u);
      ASSERT_TRUE(file.Close());
      EXPECT_EQ(ReadFile(path), "a0a1b0b1c0");
    }
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir())) ++files;
  EXPECT_EQ(files, 6u);  // the outputs only
}

TEST_F(OrderedOutputTest, AStreamNeverFinishedLeavesItIncomplete) {
  platform::RandomAccessFile file;
  ASSERT_TRUE(file.Create(dir() + "out"));
  archive::OrderedOutput out(&file, dir() + "out", 2);
  EXPECT_TRUE(out.Write(1, "b", 1));
  EXPECT_TRUE(out.Finish(1));
  EXPECT_FALSE(out.Complete());
  // A write that cannot reach the disk spoils every later one.
  ASSERT_TRUE(file.Close());
  EXPECT_FALSE(out.Write(0, "a", 1));
  EXPECT_FALSE(out.Write(1, "b", 1));
  EXPECT_FALSE(out.Error().empty());
}

}  // namespace
}  // namespace oxlip::test

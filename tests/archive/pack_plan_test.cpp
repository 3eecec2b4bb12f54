// How files are judged and shared out between folders packed at the same time.
#include "archive/pack_plan.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <random>

#include "archive/packing_choice.h"

namespace oxlip::test {
namespace {

using archive::Packing;
using archive::PlanFile;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(random());
  return data;
}

std::string Text(std::size_t size) {
  static const char* kWords[] = {"block ", "creeper ", "redstone ", "torch ", "pickaxe "};
  std::string text;
  for (unsigned x = 1; text.size() < size; x = x * 1103515245 + 12345) text += kWords[x >> 28 & 3];
  return text.substr(0, size);
}

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
      EXPECT_EQ(archive::ChoosePacking(RandomBytes(size, seed)), Packing::kStore) << size;
  }
  EXPECT_EQ(archive::ChoosePacking(Deflated(RandomBytes(40000, 1) + Text(400000))),
            Packing::kStore);
  EXPECT_EQ(archive::ChoosePacking(Text(49152)), Packing::kStrong);
  EXPECT_EQ(archive::ChoosePacking(RandomBytes(1000, 1)), Packing::kStrong);  // too few to tell
  // A zip's headers and names among deflated data: a little to gain, cheaply.
  std::string jar_like = RandomBytes(49152, 3);
  for (std::size_t i = 0; i < jar_like.size(); i += 200) jar_like.replace(i, 30, Text(30));
  EXPECT_EQ(archive::ChoosePacking(jar_like), Packing::kFast);
}

TEST(ByteEntropy, CountsBitsPerByte) {
  EXPECT_DOUBLE_EQ(archive::ByteEntropy(std::string(100, 'a')), 0.0);
  EXPECT_DOUBLE_EQ(archive::ByteEntropy("abababab"), 1.0);
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_DOUBLE_EQ(archive::ByteEntropy(all), 8.0);
}

// Every file with bytes in exactly one folder, each kind in its given order.
void ExpectEachOnce(const std::vector<PlanFile>& files,
                    const std::vector<archive::FolderPlan>& plan) {
  std::vector<int> seen(files.size());
  std::map<Packing, std::size_t> last;
  for (const archive::FolderPlan& folder : plan) {
    EXPECT_FALSE(folder.files.empty());
    for (std::size_t i : folder.files) {
      ++seen[i];
      if (files[i].twin_key == 0) {
        EXPECT_EQ(files[i].packing, folder.packing);
        if (last.count(folder.packing)) {
          EXPECT_GT(i, last[folder.packing]);
        }
        last[folder.packing] = i;
      }
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(seen[i], files[i].size ? 1 : 0) << i;
}

TEST(PlanFolders, OneFolderPerKindOnOneThreadStoredFirst) {
  std::vector<PlanFile> files = {{5000, Packing::kStrong}, {0, Packing::kStrong},
                                 {9000, Packing::kStore},  {7000, Packing::kFast},
                                 {3000, Packing::kStrong}, {100, Packing::kStore}};
  std::vector<archive::FolderPlan> plan = archive::PlanFolders(files, 1);
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
  std::vector<archive::FolderPlan> plan = archive::PlanFolders(files, 2);
  ExpectEachOnce(files, plan);
  int strong = 0;
  for (const archive::FolderPlan& folder : plan) strong += folder.packing == Packing::kStrong;
  EXPECT_EQ(strong, 2);  // 10 MB of text for two threads
  EXPECT_EQ(plan[0].packing, Packing::kStore);
  EXPECT_EQ(plan[1].packing, Packing::kStrong);
  // Small work is not cut: each cut costs what one piece could find in the other.
  std::vector<PlanFile> small(50, {4000, Packing::kStrong});
  EXPECT_EQ(archive::PlanFolders(small, 2).size(), 1u);
}

TEST(PlanFolders, LikelyCopiesGoSideBySideWithADictionaryOverOne) {
  std::vector<PlanFile> files = {{300000, Packing::kStore, 77},
                                 {1000, Packing::kStrong},
                                 {300000, Packing::kStore, 78},
                                 {300000, Packing::kFast, 77},
                                 {300000, Packing::kStrong, 77}};
  std::vector<archive::FolderPlan> plan = archive::PlanFolders(files, 2);
  ExpectEachOnce(files, plan);
  bool found = false;
  for (const archive::FolderPlan& folder : plan) {
    if (folder.files == std::vector<std::size_t>{0, 3}) {
      found = true;
      EXPECT_EQ(folder.packing, Packing::kFast);
      EXPECT_GT(folder.dictionary, 300000u);
    }
  }
  EXPECT_TRUE(found);
}

TEST(StrongDictionaryLimit, HalvesWithEachDoublingOfThreadsDownTo8MiB) {
  EXPECT_EQ(archive::StrongDictionaryLimit(1), 64u << 20);
  EXPECT_EQ(archive::StrongDictionaryLimit(2), 32u << 20);
  EXPECT_EQ(archive::StrongDictionaryLimit(4), 16u << 20);
  EXPECT_EQ(archive::StrongDictionaryLimit(64), 8u << 20);
}

}  // namespace
}  // namespace oxlip::test

// A cap on what extractions may write, for both archive kinds.
#include "archive/extract_budget.h"

#include <gtest/gtest.h>

#include "archive_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class ExtractBudgetTest : public InTempFolder {};

TEST_F(ExtractBudgetTest, AnExtractionThatWouldGoBeyondFailsAndSaysSo) {
  const std::vector<FakeEntry> entries = {{"a.txt", std::string(600, 'a')},
                                          {"dir/b.txt", std::string(600, 'b')}};
  MakeZip("two.zip", entries);
  MakeSevenZ("two.7z", entries);
  for (const char* archive : {"two.zip", "two.7z"}) {
    SCOPED_TRACE(archive);
    archive::ExtractBudget budget(1000);
    EXPECT_NE(ExtractTo(archive, "out"), 0);
    EXPECT_TRUE(budget.exceeded());
    // The file that did not fit is not there, not even in part.
    EXPECT_EQ(ListTree("out").count("dir/b.txt"), 0u);
  }
  archive::ExtractBudget budget(1200);
  EXPECT_EQ(RunArchiver("x two.7z -aoa"), 0);  // into the current folder
  EXPECT_FALSE(budget.exceeded());
  EXPECT_EQ(budget.written(), 1200u);
}

TEST(UnpackLimit, HundredTimesTheArchiveAtLeast64MbAndAGigabyteKeptFree) {
  using archive::UnpackLimitFor;
  constexpr std::uint64_t kMb = 1 << 20;
  EXPECT_EQ(UnpackLimitFor(10 * kMb, std::nullopt).bytes, 1000 * kMb);
  EXPECT_EQ(UnpackLimitFor(1000, std::nullopt).bytes, 64 * kMb);
  archive::UnpackLimit by_disk = UnpackLimitFor(10 * kMb, 1024 * kMb + 300 * kMb);
  EXPECT_EQ(by_disk.bytes, 300 * kMb);
  EXPECT_TRUE(by_disk.by_disk);
  EXPECT_EQ(UnpackLimitFor(10 * kMb, 500 * kMb).bytes, 0u);
  EXPECT_FALSE(UnpackLimitFor(10 * kMb, 1ull << 40).by_disk);
  EXPECT_EQ(UnpackLimitFor(UINT64_MAX / 2, std::nullopt).bytes, UINT64_MAX);
}

}  // namespace
}  // namespace oxlip::test

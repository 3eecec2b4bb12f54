#include "mods/mod_import.h"

#include <gtest/gtest.h>

namespace oxlip {
namespace {

TEST(ImportUnpackLimit, HundredTimesTheArchiveAtLeast64MbAndAGigabyteKeptFree) {
  using mods::ImportUnpackLimit;
  constexpr std::uint64_t kMb = 1 << 20;
  EXPECT_EQ(ImportUnpackLimit(10 * kMb, std::nullopt).bytes, 1000 * kMb);
  EXPECT_EQ(ImportUnpackLimit(1000, std::nullopt).bytes, 64 * kMb);
  mods::UnpackLimit by_disk = ImportUnpackLimit(10 * kMb, 1024 * kMb + 300 * kMb);
  EXPECT_EQ(by_disk.bytes, 300 * kMb);
  EXPECT_TRUE(by_disk.by_disk);
  EXPECT_EQ(ImportUnpackLimit(10 * kMb, 500 * kMb).bytes, 0u);
  EXPECT_FALSE(ImportUnpackLimit(10 * kMb, 1ull << 40).by_disk);
  EXPECT_EQ(ImportUnpackLimit(UINT64_MAX / 2, std::nullopt).bytes, UINT64_MAX);
}

}  // namespace
}  // namespace oxlip

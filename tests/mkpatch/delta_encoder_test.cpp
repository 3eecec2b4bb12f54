// The delta search: what it finds must rebuild the target exactly, and near edits must cost
// little.
#include "delta_encoder.h"

#include <gtest/gtest.h>

#include <random>

#include "versions/delta_apply.h"

namespace oxlip::mkpatch {
namespace {

std::string Random(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

// Applies the delta to `old` and expects `target` back, with nothing left over.
void ExpectRebuilds(const std::string& old, const std::string& target, const std::string& delta) {
  versions::PatchCursor cursor(delta);
  std::string output;
  EXPECT_EQ(versions::ApplyDelta(old, static_cast<std::int64_t>(target.size()), cursor,
                                 [&output](std::string_view bytes) {
                                   output += bytes;
                                   return true;
                                 }),
            versions::DeltaStatus::kDone);
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_TRUE(output == target);
}

TEST(DeltaEncoderTest, NearEditsBecomeShortCopiesAndInserts) {
  std::string old = Random(20000, 1), target = old;
  target.replace(1000, 4, "edit");
  target.insert(5000, "inserted bytes, 100 or fewer of them");
  target.erase(9000, 60);
  target[15000] ^= 0x55;
  std::string delta = EncodeDelta(old, target);
  ExpectRebuilds(old, target, delta);
  EXPECT_LT(delta.size(), 100u);
}

TEST(DeltaEncoderTest, CopiesFollowTheOutputOnlyWithinTheirOffsets) {
  std::string old = Random(4000, 2);
  // Shifted by 127 bytes the old content can still be copied; by 129 it cannot.
  std::string near = Random(127, 3) + old, far = Random(129, 4) + old;
  std::string near_delta = EncodeDelta(old, near), far_delta = EncodeDelta(old, far);
  ExpectRebuilds(old, near, near_delta);
  ExpectRebuilds(old, far, far_delta);
  EXPECT_LT(near_delta.size(), 200u);
  EXPECT_GT(far_delta.size(), far.size());
}

TEST(DeltaEncoderTest, EveryLengthRebuildsExactly) {
  std::string zeros(200000, '\0');  // one long run: copies split at their longest form
  ExpectRebuilds(zeros, zeros, EncodeDelta(zeros, zeros));
  ExpectRebuilds("", "", EncodeDelta("", ""));
  ExpectRebuilds("old", "", EncodeDelta("old", ""));
  std::string big = Random(70000, 5);
  ExpectRebuilds("", big, EncodeDelta("", big));
  for (unsigned seed = 0; seed < 50; ++seed) {
    std::mt19937 random(seed);
    std::string old = Random(random() % 3000, seed), target = old;
    for (int edits = random() % 20; edits > 0 && !target.empty(); --edits) {
      size_t at = random() % target.size();
      if (random() % 2)
        target.insert(at, Random(random() % 40, seed + edits));
      else
        target.erase(at, random() % 40);
    }
    ExpectRebuilds(old, target, EncodeDelta(old, target));
  }
}

}  // namespace
}  // namespace oxlip::mkpatch

// The delta search: what it finds must rebuild the target exactly, and near edits must cost
// little; and what the patch writer refuses.
#include "delta_encoder.h"

#include <gtest/gtest.h>

#include <random>

#include "patch_writer.h"
#include "versions/delta_apply.h"

namespace oxlip::mkpatch {
namespace {

std::string Random(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

// The delta of `old` to `target`, checked to rebuild `target` with nothing left over.
std::string Rebuilt(const std::string& old, const std::string& target) {
  std::string delta = EncodeDelta(old, target), output;
  versions::PatchCursor cursor(delta);
  auto sink = [&output](std::string_view bytes) {
    output += bytes;
    return true;
  };
  EXPECT_EQ(versions::ApplyDelta(old, std::int64_t(target.size()), cursor, sink),
            versions::DeltaStatus::kDone);
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_TRUE(output == target);
  return delta;
}

TEST(DeltaEncoderTest, RebuildsExactlyAndNearEditsAreCheap) {
  std::string old = Random(20000, 1), target = old;
  target.replace(1000, 4, "edit");
  target.insert(5000, "inserted bytes, 100 or fewer of them");
  target.erase(9000, 60);
  target[15000] ^= 0x55;
  EXPECT_LT(Rebuilt(old, target).size(), 100u);
  // Copies reach offsets -128 to 127: shifted by 127 bytes the old content can still be copied,
  // by 129 it cannot.
  EXPECT_LT(Rebuilt(old, Random(127, 3) + old).size(), 200u);
  EXPECT_GT(Rebuilt(old, Random(129, 4) + old).size(), old.size() + 129);

  std::string zeros(200000, '\0');  // one long run: copies split at their longest form
  Rebuilt(zeros, zeros);
  Rebuilt("", "");
  Rebuilt("old", "");
  Rebuilt("", Random(70000, 5));
  for (unsigned seed = 0; seed < 50; ++seed) {
    std::mt19937 random(seed);
    std::string from = Random(random() % 3000, seed), to = from;
    for (int edits = random() % 20; edits > 0 && !to.empty(); --edits) {
      size_t at = random() % to.size();
      if (random() % 2)
        to.insert(at, Random(random() % 40, seed + edits));
      else
        to.erase(at, random() % 40);
    }
    Rebuilt(from, to);
  }
}

// What the patch format cannot hold. Which record each file gets is seen in the round trip.
TEST(PatchWriterTest, WhatTheFormatCannotHoldIsRefused) {
  std::string patch, error;
  PatchStats stats;
  EXPECT_FALSE(MakePatch({}, {{std::string(256, 'n'), "x", 0}}, &patch, &stats, &error));
  EXPECT_NE(error.find("255"), std::string::npos);
  EXPECT_TRUE(MakePatch({}, {{std::string(255, 'n'), "x", 0}}, &patch, &stats, &error));
  EXPECT_FALSE(MakePatch({}, {{"a\r\nb", "x", 0}}, &patch, &stats, &error));
}

}  // namespace
}  // namespace oxlip::mkpatch

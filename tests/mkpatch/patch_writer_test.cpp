// What the patch format cannot hold. Which record each file gets is seen in the round trip.
#include "patch_writer.h"

#include <gtest/gtest.h>

namespace oxlip::mkpatch {
namespace {

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

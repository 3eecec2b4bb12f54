#include "versions/store_jar_name.h"

#include <gtest/gtest.h>

namespace oxlip::versions {
namespace {

TEST(StoreJarName, TheVersionGoesInAndComesBackOut) {
  EXPECT_EQ(StoreJarName("1.2.5"), "minecraft - 1.2.5.jar");
  for (const char* version : {"1.2.5", "Beta 1.8.1", "12w08a", "b"})
    EXPECT_EQ(StoredVersionName(StoreJarName(version)), version);
  EXPECT_EQ(StoredVersionName(StoreJarName("")), "");
  EXPECT_EQ(StoredVersionName("a.jar"), "");
}

}  // namespace
}  // namespace oxlip::versions

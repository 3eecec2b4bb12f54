#include "instances/version_file.h"

#include <gtest/gtest.h>

#include <string>

namespace oxlip {
namespace {

std::string Marked(const std::string& text) { return std::string("\x00\x0D", 2) + text; }

TEST(VersionFileTest, MillisecondsGiveSeconds) {
  EXPECT_EQ(instances::ReadVersionFileDate(Marked("1339000000123")), 1339000000);
  EXPECT_EQ(instances::ReadVersionFileDate(Marked("5000")), 5);
  EXPECT_EQ(instances::ReadVersionFileDate(Marked("  -7000")), -7);
  // The marker is skipped whatever its bytes are.
  EXPECT_EQ(instances::ReadVersionFileDate("9912000"), 12);
}

TEST(VersionFileTest, OnlyTheFirstLineCounts) {
  EXPECT_EQ(instances::ReadVersionFileDate(Marked("1234000\r\n999999000")), 1234);
  EXPECT_EQ(instances::ReadVersionFileDate(Marked("1234000\n9")), 1234);
  EXPECT_EQ(instances::ReadVersionFileDate(Marked("1234000\rjunk")), 1234);
}

TEST(VersionFileTest, ShortOrDamagedFilesGiveZero) {
  for (const std::string& bytes :
       {std::string(), std::string("\x00", 1), Marked(""), Marked("000"), Marked("12"),
        Marked("abc123000"), Marked("\r\n1234000"), Marked("12\n34000")})
    EXPECT_EQ(instances::ReadVersionFileDate(bytes), 0) << bytes.size();
}

}  // namespace
}  // namespace oxlip

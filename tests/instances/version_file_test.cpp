#include "instances/version_file.h"

#include <gtest/gtest.h>

#include <string>

namespace oxlip {
namespace {

// Milliseconds after a two-byte marker, whatever its bytes; only the first line counts; short
// or damaged files give zero.
TEST(VersionFileTest, TheFirstLineGivesSeconds) {
  const std::pair<std::string, long long> cases[] = {{"1339000000123", 1339000000},
                                                     {"5000", 5},
                                                     {"  -7000", -7},
                                                     {"1234000\r\n999999000", 1234},
                                                     {"1234000\n9", 1234},
                                                     {"1234000\rjunk", 1234},
                                                     {"", 0},
                                                     {"000", 0},
                                                     {"12", 0},
                                                     {"abc123000", 0},
                                                     {"\r\n1234000", 0},
                                                     {"12\n34000", 0}};
  for (const auto& [text, seconds] : cases)
    EXPECT_EQ(ReadVersionFileDate(std::string("\x00\x0D", 2) + text), seconds) << text;
  EXPECT_EQ(ReadVersionFileDate("9912000"), 12);
  EXPECT_EQ(ReadVersionFileDate(std::string("\x00", 1)), 0);
  EXPECT_EQ(ReadVersionFileDate(""), 0);
}

}  // namespace
}  // namespace oxlip

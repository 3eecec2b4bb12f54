// Zips as libarchive's writers make them (bsdtar, CMake's "tar --format=zip"): the size stands in
// a local header that also has a data descriptor. The 7-Zip program opens them, so must we.
#include <gtest/gtest.h>

#include <cstdlib>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class LibarchiveMade : public InTempFolder {};

std::string Text(std::size_t size) {
  std::string text;
  for (std::uint32_t x = 3; text.size() < size; x = x * 1103515245 + 12345)
    text += "block torch creeper stone "[(x >> 16) % 26];
  return text;
}

TEST_F(LibarchiveMade, ZipsOfBsdtarAndCMakeUnpackWholeAndDamagedDataStillFails) {
  WriteFile("src/resources/big.txt", Text(200000));
  WriteFile("src/config/b.cfg", "b");
  WriteFile("src/empty.txt", "");
  const Listing expected = ListTree("src");
  const std::pair<const char*, const char*> kWriters[] = {
      {"bsdtar", "bsdtar --format=zip -cf ../made.zip resources config empty.txt"},
      {"cmake", "cmake -E tar cf ../made.zip --format=zip resources config empty.txt"}};
  for (const auto& [writer, command] : kWriters) {
    SCOPED_TRACE(writer);
    ASSERT_EQ(std::system(("cd src && " + std::string(command)).c_str()), 0);
    ASSERT_EQ(RunArchiver("x made.zip -aoa -o\"out\\\""), 0);
    EXPECT_EQ(ListTree("out"), expected);
    platform::DeleteTree("out");

    std::string bytes = ReadFile("made.zip");
    bytes[bytes.size() / 3] ^= 0x55;  // inside the big file's data
    WriteFile("made.zip", bytes);
    EXPECT_NE(RunArchiver("x made.zip -aoa -o\"out\\\""), 0);
    EXPECT_FALSE(platform::Exists("out/resources/big.txt"));
    platform::DeleteTree("out");
    platform::DeleteFile("made.zip");
  }
}

}  // namespace
}  // namespace oxlip::test

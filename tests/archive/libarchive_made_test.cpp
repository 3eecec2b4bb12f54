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

TEST_F(LibarchiveMade, ZipsOfBsdtarAndCMakeUnpackWholeAndDamagedDataStillFails) {
  WriteFile("src/resources/big.txt", Text(200000));
  WriteFile("src/config/b.cfg", "b");
  WriteFile("src/empty.txt", "");
  const Listing expected = ListTree("src");
  for (const char* command :
       {"bsdtar --format=zip -cf ../made.zip", "cmake -E tar cf ../made.zip --format=zip"}) {
    SCOPED_TRACE(command);
    platform::DeleteFile("made.zip");
    const std::string line = std::string(command) + " resources config empty.txt";
    ASSERT_EQ(std::system(("cd src && " + line).c_str()), 0);
    ASSERT_EQ(ExtractTo("made.zip", "out"), 0);
    EXPECT_EQ(ListTree("out"), expected);
    platform::DeleteTree("out");
    Damage("made.zip");  // inside the big file's data
    EXPECT_NE(ExtractTo("made.zip", "out"), 0);
    EXPECT_FALSE(platform::Exists("out/resources/big.txt"));
    platform::DeleteTree("out");
  }
}

}  // namespace
}  // namespace oxlip::test

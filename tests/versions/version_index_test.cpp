#include "versions/version_index.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "versions/class_version.h"
#include "versions/version_store.h"

namespace oxlip {
namespace {

using test::ReadFile;

TEST(VersionIndex, RecordsRoundTripWithLittleEndianDates) {
  std::string bytes = versions::VersionRecordBytes("a.jar", "1.0", 0x01020304) +
                      versions::VersionRecordBytes("b.jar", "1.1", -5) +
                      versions::VersionRecordBytes("a.jar", "1.2", 7);
  EXPECT_EQ(bytes.substr(0, 14), std::string("a.jar\r\n1.0\r\n\x04\x03", 14));
  versions::VersionIndex index = versions::ParseVersionIndex(bytes);
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(index["a.jar"], std::make_pair(std::string("1.2"), 7));
  EXPECT_EQ(index["b.jar"].second, -5);
}

TEST(VersionIndex, DamagedFilesNeverReadPastTheEnd) {
  std::string whole = versions::VersionRecordBytes("a.jar", "1.0", 100);
  for (size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_TRUE(versions::ParseVersionIndex(whole.substr(0, cut)).empty()) << cut;
  // Dates that hold line-end bytes must not shift the next record.
  std::string tricky = versions::VersionRecordBytes("a.jar", "1", 0x0D0A0D0A) +
                       versions::VersionRecordBytes("b.jar", "2", 0x0A0A0A0A);
  versions::VersionIndex index = versions::ParseVersionIndex(tricky);
  EXPECT_EQ(index["a.jar"].second, 0x0D0A0D0A);
  EXPECT_EQ(index["b.jar"].second, 0x0A0A0A0A);
}

TEST(ClassVersion, LengthByteBoundsTheText) {
  EXPECT_EQ(
      versions::FindVersionText(std::string("\xCA\x01\x00\x19Minecraft Minecraft 1.4.7xyz", 30)),
      "1.4.7");
  EXPECT_EQ(versions::FindVersionText(std::string("\x01\x00\x14Minecraft Minecraft 1.4", 23)), "");
  EXPECT_EQ(versions::FindVersionText(std::string("\x01\x00\x40Minecraft Minecraft 1.2", 26)),
            "1.2");
  EXPECT_EQ(versions::FindVersionText(std::string("\x01\x00\x40Minecraft Minecraft 1\0rest", 29)),
            "1");
  EXPECT_EQ(versions::FindVersionText("Minecraft Minecraft 1.0"), "");
  EXPECT_EQ(versions::FindVersionText(std::string("\x01\xC8Minecraft Minecraft 1.0", 23)), "");
}

class VersionFileTest : public test::InTempFolder {};

TEST_F(VersionFileTest, SaveVersionWritesMilliseconds) {
  ASSERT_EQ(SaveVersion(dir() + "version", 1358964000), 1);
  EXPECT_EQ(ReadFile(dir() + "version"), std::string("\x00\x0D"
                                                     "1358964000000",
                                                     15));
  EXPECT_EQ(SaveVersion(dir() + "missing/version", 1), 0);
}

}  // namespace
}  // namespace oxlip

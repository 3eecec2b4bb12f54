#include "platform/file_writer.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;

class FileWriterTest : public test::InTempFolder {};

TEST_F(FileWriterTest, PiecesOfEverySizeLandInOrderOverAnOldFile) {
  WriteFile(dir() + "f", std::string(300000, 'o'));
  std::string expected;
  FileWriter writer;
  ASSERT_TRUE(writer.Open(dir() + "f"));
  for (size_t size : {1, 70000, 3, 65536, 65535, 0, 10}) {
    std::string piece(size, static_cast<char>('a' + size % 26));
    EXPECT_TRUE(writer.Write(piece));
    expected += piece;
  }
  EXPECT_TRUE(writer.Close());
  EXPECT_TRUE(ReadFile(dir() + "f") == expected);
  // A path that cannot be created.
  EXPECT_FALSE(writer.Open(dir() + "missing\\f"));
  EXPECT_FALSE(writer.Write("x"));
  EXPECT_FALSE(writer.Close());
}

}  // namespace
}  // namespace oxlip::platform

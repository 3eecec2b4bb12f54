// Packed streams reach the archive in their order whatever order they are written and finished
// in, spilling to scratch files beside it and leaving none behind.
#include "archive/ordered_output.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class OrderedOutputTest : public InTempFolder {};

TEST_F(OrderedOutputTest, StreamsLandInOrderWhateverTheOrderOfWork) {
  // (stream, text) writes, with -1 - stream marking that stream's end.
  std::vector<std::vector<std::pair<int, std::string>>> schedules = {
      {{0, "a0"}, {1, "b0"}, {0, "a1"}, {-1, ""}, {1, "b1"}, {2, "c0"}, {-2, ""}, {-3, ""}},
      {{2, "c0"}, {-3, ""}, {1, "b0"}, {1, "b1"}, {-2, ""}, {0, "a0a1"}, {-1, ""}},
      {{1, "b0b1"}, {2, "c0"}, {-2, ""}, {0, "a0"}, {0, "a1"}, {-3, ""}, {-1, ""}},
  };
  for (std::size_t memory : {std::size_t{1}, std::size_t{1} << 20}) {
    for (std::size_t s = 0; s < schedules.size(); ++s) {
      SCOPED_TRACE(s);
      std::string path = dir() + "out" + std::to_string(memory) + "-" + std::to_string(s);
      platform::RandomAccessFile file;
      ASSERT_TRUE(file.Create(path));
      archive::OrderedOutput out(&file, path, 3, memory);
      for (const auto& [stream, text] : schedules[s]) {
        if (stream < 0) {
          EXPECT_TRUE(out.Finish(static_cast<std::size_t>(-1 - stream)));
        } else {
          EXPECT_TRUE(out.Write(static_cast<std::size_t>(stream), text.data(), text.size()));
        }
      }
      EXPECT_TRUE(out.Complete());
      EXPECT_EQ(out.StreamSize(1), 4u);
      ASSERT_TRUE(file.Close());
      EXPECT_EQ(ReadFile(path), "a0a1b0b1c0");
    }
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir())) ++files;
  EXPECT_EQ(files, 6u);  // the outputs only
}

TEST_F(OrderedOutputTest, AStreamNeverFinishedLeavesItIncomplete) {
  platform::RandomAccessFile file;
  ASSERT_TRUE(file.Create(dir() + "out"));
  archive::OrderedOutput out(&file, dir() + "out", 2);
  EXPECT_TRUE(out.Write(1, "b", 1));
  EXPECT_TRUE(out.Finish(1));
  EXPECT_FALSE(out.Complete());
  // A write that cannot reach the disk spoils every later one.
  ASSERT_TRUE(file.Close());
  EXPECT_FALSE(out.Write(0, "a", 1));
  EXPECT_FALSE(out.Write(1, "b", 1));
  EXPECT_FALSE(out.Error().empty());
}

}  // namespace
}  // namespace oxlip::test

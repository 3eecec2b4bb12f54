// Which record each target file gets, and what the format cannot hold.
#include "patch_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "versions/patch_cursor.h"
#include "versions/patch_record.h"

namespace oxlip::mkpatch {
namespace {

std::string Text(size_t size, char seed) {
  std::string out;
  for (size_t i = 0; i < size; ++i) out += static_cast<char>(seed + i % 50 + i / 997);
  return out;
}

std::string Random(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

// The type of each record, in order.
std::vector<int> Types(const std::string& patch) {
  std::vector<int> types;
  versions::PatchCursor cursor(patch);
  while (!cursor.AtEnd()) {
    versions::RecordHeader header;
    if (!versions::ReadRecordHeader(cursor, &header)) return {-1};
    types.push_back(header.type);
    std::string_view skipped;
    if (header.type == 2) cursor.Take(static_cast<size_t>(header.size), &skipped);
    if (header.type == 3) {
      versions::DeltaCommand command;
      while (versions::ReadDeltaCommand(cursor, &command) == versions::CommandStatus::kOk &&
             command.kind != versions::DeltaCommand::Kind::kEnd)
        if (command.kind == versions::DeltaCommand::Kind::kInsert)
          cursor.Take(command.length, &skipped);
    }
  }
  return types;
}

TEST(PatchWriterTest, KeepsDeltasAndNewContent) {
  std::string changed = Text(3000, 'a');
  changed[1500] = '!';
  FileTree source{{"same.txt", Text(500, 'a'), 1},
                  {"changed.class", Text(3000, 'a'), 1},
                  {"rewritten.bin", Random(300, 1), 1},
                  {"removed.txt", "gone", 1}};
  FileTree target{{"dir\\", "", 7},
                  {"same.txt", Text(500, 'a'), 2},
                  {"changed.class", changed, 3},
                  {"rewritten.bin", Random(300, 2), 4},
                  {"dir\\added.txt", "added", 5},
                  {"empty.txt", "", 6}};
  std::string patch, error;
  PatchStats stats;
  ASSERT_TRUE(MakePatch(source, target, &patch, &stats, &error)) << error;
  EXPECT_EQ(Types(patch), (std::vector<int>{1, 1, 3, 2, 2, 2}));
  EXPECT_EQ(stats.kept, 2u);
  EXPECT_EQ(stats.deltas, 1u);
  EXPECT_EQ(stats.new_content, 3u);
  EXPECT_LT(patch.size(), 600u);
}

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

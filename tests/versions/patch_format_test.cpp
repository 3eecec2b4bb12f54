// The patch format on buffers: the command encodings at their bounds, record headers, and every
// way a command or a header may reach outside what it was given.
#include "versions/patch_format.h"

#include <gtest/gtest.h>

#include "versions/delta_apply.h"
#include "versions/patch_record.h"

namespace oxlip::versions {
namespace {

std::string Raw(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

std::string Old(size_t size) {
  std::string out;
  for (size_t i = 0; i < size; ++i) out += static_cast<char>(i * 7 + i / 251);
  return out;
}

// The status of the commands over `old`; the output in `output`.
DeltaStatus Apply(std::string_view old, std::int64_t size, const std::string& commands,
                  std::string* output = nullptr) {
  PatchCursor cursor(commands);
  return ApplyDelta(old, size, cursor, [output](std::string_view bytes) {
    if (output) *output += bytes;
    return true;
  });
}

TEST(PatchFormatTest, WrittenCommandsReadBackAtEveryBound) {
  std::string old = Old(300000);
  for (std::uint64_t length : {1, 100, 101, 256, 257, 65536, 65537, 200000}) {
    std::string inserted = Old(length), commands, output;
    AppendInsert(inserted, &commands);
    AppendEnd(&commands);
    EXPECT_EQ(Apply(old, std::int64_t(length), commands, &output), DeltaStatus::kDone) << length;
    EXPECT_EQ(output, inserted) << length;
  }
  for (std::uint64_t length : {5, 100, 101, 356, 357, 65636, 65637, 65640, 65641, 200000}) {
    for (int offset : {-128, 0, 127}) {
      std::string commands, output;
      AppendInsert(std::string(128, 'x'), &commands);
      AppendCopy(offset, length, &commands);
      AppendEnd(&commands);
      ASSERT_EQ(Apply(old, std::int64_t(128 + length), commands, &output), DeltaStatus::kDone)
          << length << " " << offset;
      EXPECT_EQ(output, std::string(128, 'x') + old.substr(128 + offset, length));
    }
  }
}

TEST(PatchFormatTest, CommandsThatReachOutsideAreCorrupt) {
  std::string old = Old(80);
  struct Case {
    const char* label;
    std::int64_t size;
    std::string commands;
    DeltaStatus status = DeltaStatus::kCorrupt;
  } cases[] = {
      {"copy past the old end", 50, Raw({50, 40, 0})},
      {"copy before the old start", 5, Raw({5, 0xFF, 0})},
      {"copy from the old end", 5, Raw({110}) + std::string(80, 'x') + Raw({5, 0, 0})},
      {"copy from beyond the old end", 105, Raw({200}) + std::string(100, 'x') + Raw({5, 10, 0})},
      {"long copy past the end", 101, Raw({3, 0, 0, 0})},
      {"insert past the size", 3, Raw({104}) + "abcd" + Raw({0})},
      {"copy past the size", 50, Raw({50, 0, 5, 0, 0})},
      {"insert of 2^32 bytes", 1 << 30, Raw({201, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"insert cut short", 10, Raw({110}) + "abc"},
      {"operand cut short", 200, Raw({4, 0, 1})},
      {"no end command", 5, Raw({5, 0})},
      {"nothing at all", 0, ""},
      {"command 202", 5, Raw({202}), DeltaStatus::kIllegalCommand},
      {"command 255", 5, Raw({255}), DeltaStatus::kIllegalCommand},
  };
  for (const Case& c : cases) EXPECT_EQ(Apply(old, c.size, c.commands), c.status) << c.label;
  std::string commands = Raw({50, 0, 0});
  PatchCursor cursor(commands);
  EXPECT_EQ(ApplyDelta(old, 50, cursor, [](std::string_view) { return false; }),
            DeltaStatus::kWriteFailed);
}

// A header is refused when cut anywhere, with a negative size or a type none of the three.
TEST(PatchFormatTest, RecordHeadersReadBackAndDamagedOnesAreRefused) {
  RecordHeader written{"net\\minecraft\\client\\Minecraft.class", 0xCBF43926u, -5, 9, 3};
  std::string bytes = RecordHeaderBytes(written);
  PatchCursor cursor(bytes);
  RecordHeader read;
  ASSERT_TRUE(ReadRecordHeader(cursor, &read));
  EXPECT_EQ(std::make_tuple(read.name, read.crc, read.date, read.size, read.type),
            std::make_tuple(written.name, 0xCBF43926u, -5, 9, 3));
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);  // the check value of the zip CRC

  std::vector<std::string> damaged;
  for (size_t cut = 0; cut < bytes.size(); ++cut) damaged.push_back(bytes.substr(0, cut));
  const std::pair<std::int32_t, std::uint8_t> sizes_and_types[] = {
      {-1, 1}, {9, 0}, {9, 4}, {9, 255}};
  for (auto [size, type] : sizes_and_types)
    damaged.push_back(RecordHeaderBytes({"a", 0, 0, size, type}));
  for (const std::string& header : damaged) {
    PatchCursor at(header);
    EXPECT_FALSE(ReadRecordHeader(at, &read)) << header.size();
  }

  for (const char* name : {"a", "a\\b\\", "a/b", "...", "a..b\\c", ".\\a"})
    EXPECT_TRUE(IsSafeRecordName(name)) << name;
  for (const std::string& name :
       std::vector<std::string>{"", "\\a", "/a", "C:\\a", "c:a", "..", "a\\..\\b", "a/..", "a\rb",
                                "a\nb", std::string("a\0b", 3)})
    EXPECT_FALSE(IsSafeRecordName(name)) << name;
}

}  // namespace
}  // namespace oxlip::versions

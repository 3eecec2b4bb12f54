// A bzip2 stream cut into its blocks and decoded on several threads gives the stream's bytes,
// and anything that is not one clean stream of several blocks is left whole or refused.
#include "archive/bzip2_blocks.h"

#include <bzlib.h>
#include <gtest/gtest.h>

#include <random>

namespace oxlip::archive {
namespace {

std::string Data() {
  std::mt19937 random(5);
  std::string data;
  while (data.size() < 600000) data += std::string(1 + random() % 9, 'a' + random() % 4);
  return data;
}

// Blocks of 100 kB: six or seven of them.
std::string Packed(const std::string& data, int block = 1) {
  std::string packed(data.size() + data.size() / 100 + 600, '\0');
  unsigned size = static_cast<unsigned>(packed.size());
  EXPECT_EQ(BZ2_bzBuffToBuffCompress(packed.data(), &size, const_cast<char*>(data.data()),
                                     static_cast<unsigned>(data.size()), block, 0, 0),
            BZ_OK);
  packed.resize(size);
  return packed;
}

BlocksResult Decode(const std::string& packed, std::uint64_t size, std::string* out,
                    std::string* error) {
  out->clear();
  return DecodeBzip2Blocks(
      packed, size,
      [&](const char* data, std::size_t n) {
        out->append(data, n);
        return true;
      },
      error);
}

TEST(Bzip2Blocks, ManyBlocksGiveTheStreamsBytesUpToTheSizeAsked) {
  std::string data = Data(), out, error;
  std::string packed = Packed(data);
  EXPECT_EQ(Decode(packed, data.size(), &out, &error), BlocksResult::kDone);
  EXPECT_TRUE(out == data);
  EXPECT_EQ(Decode(packed, 250000, &out, &error), BlocksResult::kDone);
  EXPECT_TRUE(out == data.substr(0, 250000));
  EXPECT_EQ(Decode(packed, data.size() + 1, &out, &error), BlocksResult::kFailed);
}

TEST(Bzip2Blocks, OtherShapesAreLeftWholeAndDamageIsRefused) {
  std::string data = Data(), out, error;
  std::string packed = Packed(data);
  std::string small = Packed(data.substr(0, 1000));
  EXPECT_EQ(Decode(small, 1000, &out, &error), BlocksResult::kNotCut);  // one block
  EXPECT_EQ(Decode(packed + small, data.size() + 1000, &out, &error), BlocksResult::kNotCut);
  EXPECT_EQ(Decode("not bzip2 at all", 5, &out, &error), BlocksResult::kNotCut);
  std::string damaged = packed;
  damaged[damaged.size() / 2] ^= 0x10;
  EXPECT_EQ(Decode(damaged, data.size(), &out, &error), BlocksResult::kFailed);
  EXPECT_FALSE(error.empty());
  std::string cut = packed.substr(0, packed.size() - 40);
  EXPECT_NE(Decode(cut, data.size(), &out, &error), BlocksResult::kDone);
}

}  // namespace
}  // namespace oxlip::archive

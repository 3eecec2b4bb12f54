// A bzip2 stream cut into its blocks and decoded on several threads gives the stream's bytes,
// and anything that is not one clean stream of several blocks is left whole or refused.
#include "archive/bzip2_blocks.h"

#include <bzlib.h>
#include <gtest/gtest.h>

#include <random>

namespace oxlip::archive {
namespace {

// Blocks of 100 kB: six or seven of them for the default data.
std::string Packed(const std::string& data) {
  std::string packed(data.size() + data.size() / 100 + 600, '\0');
  unsigned size = static_cast<unsigned>(packed.size());
  EXPECT_EQ(BZ2_bzBuffToBuffCompress(packed.data(), &size, const_cast<char*>(data.data()),
                                     static_cast<unsigned>(data.size()), 1, 0, 0),
            BZ_OK);
  packed.resize(size);
  return packed;
}

TEST(Bzip2Blocks, ManyBlocksGiveTheStreamsBytesOtherShapesAreLeftWholeAndDamageIsRefused) {
  std::mt19937 random(5);
  std::string data, out, error;
  while (data.size() < 600000) data += std::string(1 + random() % 9, 'a' + random() % 4);
  auto decode = [&](const std::string& packed, std::uint64_t size) {
    out.clear();
    return DecodeBzip2Blocks(
        packed, size,
        [&](const char* bytes, std::size_t n) {
          out.append(bytes, n);
          return true;
        },
        &error);
  };
  const std::string packed = Packed(data), small = Packed(data.substr(0, 1000));
  EXPECT_EQ(decode(packed, data.size()), BlocksResult::kDone);
  EXPECT_TRUE(out == data);
  EXPECT_EQ(decode(packed, 250000), BlocksResult::kDone);
  EXPECT_TRUE(out == data.substr(0, 250000));
  EXPECT_EQ(decode(packed, data.size() + 1), BlocksResult::kFailed);

  EXPECT_EQ(decode(small, 1000), BlocksResult::kNotCut);  // one block
  EXPECT_EQ(decode(packed + small, data.size() + 1000), BlocksResult::kNotCut);
  EXPECT_EQ(decode("not bzip2 at all", 5), BlocksResult::kNotCut);
  std::string damaged = packed;
  damaged[damaged.size() / 2] ^= 0x10;
  EXPECT_EQ(decode(damaged, data.size()), BlocksResult::kFailed);
  EXPECT_FALSE(error.empty());
  EXPECT_NE(decode(packed.substr(0, packed.size() - 40), data.size()), BlocksResult::kDone);
}

}  // namespace
}  // namespace oxlip::archive

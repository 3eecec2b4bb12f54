// A bzip2 stream cut into blocks, and its first block alone, from hostile bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/bzip2_block.h"
#include "archive/bzip2_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view packed(reinterpret_cast<const char*>(data), size);
  std::string error;
  oxlip::archive::DecodeBzip2Blocks(
      packed, 1 << 22, [](const char*, std::size_t) { return true; }, &error);
  if (size > 4) {
    static oxlip::archive::Bzip2Scratch scratch;  // kept: a fresh one per input is most of the time
    std::string out;
    oxlip::archive::DecodeBzip2Block(packed, 32, size * 8, 1 + data[3] % 9, 1 << 22, &scratch,
                                     &out);
  }
  return 0;
}

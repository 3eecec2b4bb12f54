#pragma once
// One block of a bzip2 stream decoded where it lies in the packed data, without a stream around
// it: Huffman codes read through tables, the block sort undone, runs expanded, the block's CRC
// checked.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace oxlip::archive {

// Memory a decoder reuses from block to block.
struct Bzip2Scratch {
  std::unique_ptr<std::uint32_t[]> links;
  std::uint32_t capacity = 0;
};

enum class Bzip2Block {
  kDone,        // `out` holds the block's bytes; their CRC matched
  kDamaged,     // the bits are not one whole block ending exactly at `end`
  kRandomised,  // an old encoder's randomised block, which this decoder leaves to libbz2
};

// The block whose bits are [begin, end) of `data`, from its block mark on, in a stream of
// blocks of at most `level` x 100,000 bytes. More than `most` bytes out is damage.
Bzip2Block DecodeBzip2Block(std::string_view data, std::uint64_t begin, std::uint64_t end,
                            unsigned level, std::uint64_t most, Bzip2Scratch* scratch,
                            std::string* out);

}  // namespace oxlip::archive

#pragma once
// A bzip2 stream decoded on every core: its blocks are independent, so it is cut where each
// block begins, each piece is decoded apart where it lies, and the outputs are passed on in
// order, the stream's CRC checked against its blocks'.
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/output_folder.h"

namespace oxlip::archive {

enum class BlocksResult {
  kDone,    // `size` bytes went to the sink
  kNotCut,  // not a single stream of several blocks; nothing went to the sink
  kFailed,  // damaged data (with `error` set) or a sink that refused bytes
};

BlocksResult DecodeBzip2Blocks(std::string_view packed, std::uint64_t size, const Sink& sink,
                               std::string* error);

}  // namespace oxlip::archive

#pragma once
// How a file's bytes are packed, judged from a few samples of it: data whose bytes are as
// evenly spread as random bytes does not compress (it is stored), data nearly so compresses
// little (a quick search finds what there is), the rest gets the strongest search.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/lzma2_encoder.h"

namespace oxlip::archive {

struct FileSample {
  std::string bytes;  // the start, middle and end of the file, or all of a small one
  std::uint32_t crc = 0;
};

// Nothing when the file cannot be read.
std::optional<FileSample> SampleFile(const std::string& path, std::uint64_t size);

// Bits per byte of the bytes' distribution (0 to 8).
double ByteEntropy(std::string_view bytes);

Packing ChoosePacking(std::string_view sample);

}  // namespace oxlip::archive

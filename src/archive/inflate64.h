#pragma once
// Deflate64 ("enhanced deflate", zip method 9), which the 7-Zip program writes on request and
// neither libzip nor libarchive reads: deflate with a 64 KiB window, a length code 285 that takes
// 16 extra bits, and the distance codes 30 and 31.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "archive/output_folder.h"

namespace oxlip::archive {

// Fills `data` with up to `size` compressed bytes: how many, 0 at the end, -1 on failure.
using ByteSource = std::function<std::int64_t(char* data, std::size_t size)>;

// Decodes one whole stream into the sink; false with `error` set when the data is damaged or
// ends early (or the sink refused bytes, which sets its own error).
bool Inflate64(const ByteSource& source, const Sink& sink, std::string* error);

}  // namespace oxlip::archive

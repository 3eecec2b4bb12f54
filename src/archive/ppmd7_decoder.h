#pragma once
// The PPMd (variant H) coder of 7z archives, decoding side: the model of ppmd7_model.h read
// through 7z's range decoder.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "archive/output_folder.h"

namespace oxlip::archive {

// The packed bytes piece by piece: true with an empty piece at the end, false when they
// cannot be read.
using PackedPieces = std::function<bool(const char** data, std::size_t* size)>;

// Whether `props` (order, then memory size) are ones we decode.
bool PpmdPropertiesValid(std::string_view props);

// Decodes `size` bytes into the sink; false with `error` set on damaged data (or when the sink
// refused bytes).
bool DecodePpmd7(std::string_view props, std::uint64_t size, const PackedPieces& input,
                 const Sink& sink, std::string* error);

}  // namespace oxlip::archive

#pragma once
// An OpenJPEG input stream over a byte buffer that outlives it.
#include <openjpeg.h>

#include <cstddef>
#include <cstdint>

namespace oxlip::image {

struct MemorySource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
};

// Null when OpenJPEG cannot make a stream; destroy with opj_stream_destroy.
opj_stream_t* OpenMemoryStream(MemorySource& source);

}  // namespace oxlip::image

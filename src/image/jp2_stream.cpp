#include "image/jp2_stream.h"

#include <cstring>

namespace oxlip::image {
namespace {

OPJ_SIZE_T ReadBytes(void* buffer, OPJ_SIZE_T count, void* user) {
  auto* source = static_cast<MemorySource*>(user);
  const size_t left = source->size - source->pos;
  if (left == 0) return OPJ_SIZE_T(-1);  // end of stream
  if (count > left) count = left;
  std::memcpy(buffer, source->data + source->pos, count);
  source->pos += count;
  return count;
}

OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user) {
  auto* source = static_cast<MemorySource*>(user);
  if (count < 0) {
    const size_t back = size_t(-count) > source->pos ? source->pos : size_t(-count);
    source->pos -= back;
    return -OPJ_OFF_T(back);
  }
  const size_t left = source->size - source->pos;
  const size_t ahead = size_t(count) > left ? left : size_t(count);
  source->pos += ahead;
  return OPJ_OFF_T(ahead);
}

OPJ_BOOL SeekTo(OPJ_OFF_T position, void* user) {
  auto* source = static_cast<MemorySource*>(user);
  if (position < 0 || uint64_t(position) > source->size) return OPJ_FALSE;
  source->pos = size_t(position);
  return OPJ_TRUE;
}

}  // namespace

opj_stream_t* OpenMemoryStream(MemorySource& source) {
  opj_stream_t* stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE);
  if (!stream) return nullptr;
  opj_stream_set_user_data(stream, &source, nullptr);
  opj_stream_set_user_data_length(stream, source.size);
  opj_stream_set_read_function(stream, ReadBytes);
  opj_stream_set_skip_function(stream, SkipBytes);
  opj_stream_set_seek_function(stream, SeekTo);
  return stream;
}

}  // namespace oxlip::image

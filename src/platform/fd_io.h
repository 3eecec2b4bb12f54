#pragma once
// Reading and writing whole buffers on a descriptor; inside platform/ only.
#include <sys/types.h>

#include <cstddef>

namespace oxlip::platform {

// Writes everything, retrying after signals; false on any failure.
bool WriteAll(int fd, const char* data, std::size_t size);
// One read, retried after signals: bytes read, 0 at the end, -1 on failure.
ssize_t ReadSome(int fd, char* data, std::size_t size);

}  // namespace oxlip::platform

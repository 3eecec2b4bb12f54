#include "platform/large_memory.h"

#include <sys/mman.h>

namespace oxlip::platform {

LargeMemory::~LargeMemory() {
  if (data_) ::munmap(data_, size_);
}

bool LargeMemory::Allocate(std::size_t size) {
  if (data_) ::munmap(data_, size_);
  data_ = nullptr;
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return false;
  // Only a hint: without large pages the block works the same, a little slower.
  ::madvise(block, size, MADV_HUGEPAGE);
  data_ = static_cast<std::uint8_t*>(block);
  size_ = size;
  return true;
}

}  // namespace oxlip::platform

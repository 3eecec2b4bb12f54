#pragma once
// A large block of memory read and written all over, as a compression model is: it comes from
// the system zeroed and a page at a time as it is touched, in large pages where the system
// gives them, so that scattered access does not keep missing the address cache.
#include <cstddef>
#include <cstdint>

namespace oxlip::platform {

class LargeMemory {
 public:
  LargeMemory() = default;
  ~LargeMemory();
  LargeMemory(const LargeMemory&) = delete;
  LargeMemory& operator=(const LargeMemory&) = delete;

  // False when the system will not give that much.
  bool Allocate(std::size_t size);
  std::uint8_t* data() const { return data_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace oxlip::platform

#pragma once
// Reading a patch held in memory: little-endian fields, never past the last byte.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace oxlip::versions {

class PatchCursor {
 public:
  explicit PatchCursor(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  std::size_t remaining() const { return bytes_.size() - pos_; }

  // Each is false, and reads nothing, when fewer bytes are left than it needs.
  bool Take(std::size_t count, std::string_view* out) {
    if (count > remaining()) return false;
    *out = bytes_.substr(pos_, count);
    pos_ += count;
    return true;
  }
  bool U8(std::uint8_t* out) { return Number(1, out); }
  bool U16(std::uint16_t* out) { return Number(2, out); }
  bool U32(std::uint32_t* out) { return Number(4, out); }

 private:
  template <typename T>
  bool Number(std::size_t width, T* out) {
    std::string_view raw;
    if (!Take(width, &raw)) return false;
    T value = 0;
    for (std::size_t i = width; i-- > 0;)
      value = static_cast<T>((value << 8) | static_cast<unsigned char>(raw[i]));
    *out = value;
    return true;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace oxlip::versions

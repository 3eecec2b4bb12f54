#pragma once
// One LZMA2 stream, the coder of a 7z folder. Three ways to make it: the strongest search for
// data that compresses, a quick search for data that hardly does (jars, images), and plain
// uncompressed chunks for data that does not compress at all (random, packed audio), which
// costs no more than copying it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace oxlip::archive {

enum class Packing { kStrong, kFast, kStore };

// LZMA2's dictionary byte: the smallest size it can state that holds `bytes`.
std::uint8_t Lzma2DictionaryProps(std::uint64_t bytes);
std::uint32_t Lzma2DictionarySize(std::uint8_t props);

struct Lzma2Settings {
  Packing packing = Packing::kStrong;
  bool strongest = true;                // "-mx9"; otherwise the usual level
  std::uint32_t dictionary = 1u << 20;  // kStrong and kFast only
};

class Lzma2Encoder {
 public:
  using Output = std::function<bool(const char* data, std::size_t size)>;

  virtual ~Lzma2Encoder() = default;
  // Null with `error` set when the encoder cannot be made (out of memory).
  static std::unique_ptr<Lzma2Encoder> Make(const Lzma2Settings& settings, Output output,
                                            std::string* error);

  // False when the output refused bytes (its owner knows why) or the encoder failed.
  virtual bool Write(const char* data, std::size_t size, std::string* error) = 0;
  // Ends the stream.
  virtual bool Finish(std::string* error) = 0;
  // The folder's coder properties.
  virtual std::uint8_t Props() const = 0;
};

}  // namespace oxlip::archive

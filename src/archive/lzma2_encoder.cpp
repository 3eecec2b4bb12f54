#include "archive/lzma2_encoder.h"

#include <lzma.h>

#include <algorithm>
#include <vector>

namespace oxlip::archive {
namespace {

constexpr std::size_t kOutputBuffer = 1 << 16;

// liblzma's raw LZMA2 encoder.
class LibLzmaEncoder : public Lzma2Encoder {
 public:
  LibLzmaEncoder(Output output, std::uint8_t props)
      : output_(std::move(output)), props_(props), buffer_(kOutputBuffer) {}
  ~LibLzmaEncoder() override { lzma_end(&stream_); }

  bool Start(const lzma_options_lzma& options, std::string* error) {
    lzma_filter filters[] = {{LZMA_FILTER_LZMA2, const_cast<lzma_options_lzma*>(&options)},
                             {LZMA_VLI_UNKNOWN, nullptr}};
    if (lzma_raw_encoder(&stream_, filters) == LZMA_OK) return true;
    *error = "not enough memory for the LZMA2 encoder";
    return false;
  }

  bool Write(const char* data, std::size_t size, std::string* error) override {
    stream_.next_in = reinterpret_cast<const std::uint8_t*>(data);
    stream_.avail_in = size;
    while (stream_.avail_in > 0)
      if (!Step(LZMA_RUN, error)) return false;
    return true;
  }

  bool Finish(std::string* error) override {
    for (;;) {
      stream_.next_in = nullptr;
      stream_.avail_in = 0;
      bool done = false;
      if (!Step(LZMA_FINISH, error, &done)) return false;
      if (done) return Flush();
    }
  }

  std::uint8_t Props() const override { return props_; }

 private:
  bool Step(lzma_action action, std::string* error, bool* done = nullptr) {
    stream_.next_out = buffer_.data();
    stream_.avail_out = buffer_.size();
    lzma_ret result = lzma_code(&stream_, action);
    if (result != LZMA_OK && result != LZMA_STREAM_END) {
      *error = "the LZMA2 encoder failed";
      return false;
    }
    if (done) *done = result == LZMA_STREAM_END;
    return result == LZMA_STREAM_END || Flush();
  }

  bool Flush() {
    std::size_t made = buffer_.size() - stream_.avail_out;
    stream_.avail_out = buffer_.size();
    return made == 0 || output_(reinterpret_cast<const char*>(buffer_.data()), made);
  }

  lzma_stream stream_ = LZMA_STREAM_INIT;
  Output output_;
  std::uint8_t props_;
  std::vector<std::uint8_t> buffer_;
};

// LZMA2's uncompressed chunks: a control byte (1 resets the dictionary, 2 does not), the size
// less one in two big-endian bytes, the bytes; a zero byte ends the stream.
class StoredEncoder : public Lzma2Encoder {
 public:
  static constexpr std::size_t kChunk = 1 << 16;

  explicit StoredEncoder(Output output) : output_(std::move(output)) { chunk_.reserve(kChunk); }

  bool Write(const char* data, std::size_t size, std::string*) override {
    while (size > 0) {
      std::size_t take = std::min(size, kChunk - chunk_.size());
      chunk_.append(data, take);
      data += take;
      size -= take;
      if (chunk_.size() == kChunk && !Emit()) return false;
    }
    return true;
  }

  bool Finish(std::string*) override { return (chunk_.empty() || Emit()) && output_("", 1); }

  std::uint8_t Props() const override { return Lzma2DictionaryProps(kChunk); }

 private:
  bool Emit() {
    std::size_t less_one = chunk_.size() - 1;
    char head[3] = {static_cast<char>(first_ ? 1 : 2), static_cast<char>(less_one >> 8),
                    static_cast<char>(less_one & 0xFF)};
    first_ = false;
    bool ok = output_(head, sizeof head) && output_(chunk_.data(), chunk_.size());
    chunk_.clear();
    return ok;
  }

  Output output_;
  std::string chunk_;
  bool first_ = true;
};

}  // namespace

std::uint32_t Lzma2DictionarySize(std::uint8_t props) {
  if (props >= 40) return 0xFFFFFFFFu;
  return (2u | (props & 1u)) << (props / 2 + 11);
}

std::uint8_t Lzma2DictionaryProps(std::uint64_t bytes) {
  std::uint8_t props = 0;
  while (props < 40 && Lzma2DictionarySize(props) < bytes) ++props;
  return props;
}

std::unique_ptr<Lzma2Encoder> Lzma2Encoder::Make(const Lzma2Settings& settings, Output output,
                                                 std::string* error) {
  if (settings.packing == Packing::kStore) return std::make_unique<StoredEncoder>(output);
  lzma_options_lzma options;
  if (settings.packing == Packing::kFast) {
    lzma_lzma_preset(&options, 0);
  } else {
    lzma_lzma_preset(&options, settings.strongest ? 9 : 6);
  }
  std::uint8_t props = Lzma2DictionaryProps(std::max<std::uint32_t>(settings.dictionary, 4096));
  options.dict_size = Lzma2DictionarySize(props);
  auto encoder = std::make_unique<LibLzmaEncoder>(std::move(output), props);
  if (!encoder->Start(options, error)) return nullptr;
  return encoder;
}

}  // namespace oxlip::archive

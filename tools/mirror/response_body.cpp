#include "response_body.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

namespace oxlip::mirror {
namespace {

constexpr size_t kPiece = 64 * 1024;
// A slow answer comes in this many pieces with this pause before each: about 2 s in all.
constexpr size_t kSlowPieces = 20;
constexpr auto kSlowPause = std::chrono::milliseconds(100);

class Bytes {
 public:
  virtual ~Bytes() = default;
  // Exactly `length` bytes from `offset` into `out`; false when they cannot be read.
  virtual bool Read(size_t offset, size_t length, std::string& out) = 0;
};

class TextBytes : public Bytes {
 public:
  explicit TextBytes(std::string text) : text_(std::move(text)) {}
  bool Read(size_t offset, size_t length, std::string& out) override {
    if (offset > text_.size() || length > text_.size() - offset) return false;
    out.assign(text_, offset, length);
    return true;
  }

 private:
  std::string text_;
};

class FileBytes : public Bytes {
 public:
  explicit FileBytes(const std::filesystem::path& file) : in_(file, std::ios::binary) {}
  bool Read(size_t offset, size_t length, std::string& out) override {
    out.resize(length);
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(out.data(), static_cast<std::streamsize>(length));
    return in_.gcount() == static_cast<std::streamsize>(length);
  }

 private:
  std::ifstream in_;
};

void Send(httplib::Response& res, std::shared_ptr<Bytes> bytes, size_t size,
          const char* content_type, std::optional<FaultKind> fault) {
  if (size == 0) {
    res.set_content("", content_type);
    return;
  }
  // A dropped answer promises every byte, sends half and hangs up.
  size_t end = fault == FaultKind::kDrop ? size / 2 : size;
  size_t piece = fault == FaultKind::kSlow ? (size + kSlowPieces - 1) / kSlowPieces : kPiece;
  res.set_content_provider(
      size, content_type,
      [bytes, size, end, piece, fault](size_t offset, size_t length, httplib::DataSink& sink) {
        if (offset >= end) return false;
        size_t n = std::min({length, piece, end - offset});
        std::string chunk;
        if (!bytes->Read(offset, n, chunk)) return false;
        if (fault == FaultKind::kWrong && size / 2 >= offset && size / 2 < offset + n)
          chunk[size / 2 - offset] = static_cast<char>(~chunk[size / 2 - offset]);
        if (fault == FaultKind::kSlow) std::this_thread::sleep_for(kSlowPause);
        return sink.write(chunk.data(), chunk.size());
      });
}

}  // namespace

void SendText(httplib::Response& res, std::string text, const char* content_type,
              std::optional<FaultKind> fault) {
  size_t size = text.size();
  Send(res, std::make_shared<TextBytes>(std::move(text)), size, content_type, fault);
}

void SendFile(httplib::Response& res, const std::filesystem::path& file, std::uintmax_t size,
              std::optional<FaultKind> fault) {
  Send(res, std::make_shared<FileBytes>(file), static_cast<size_t>(size),
       "application/octet-stream", fault);
}

}  // namespace oxlip::mirror

#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace oxlip::platform {

// MD5 of bytes that come piece by piece, such as a download as it arrives.
class Md5 {
 public:
  Md5();
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;

  void Update(const char* data, std::size_t size);
  // 32 lower-case hexadecimal digits of everything given since construction or the last
  // Hex; "" when the digest failed. Starts over afterwards.
  std::string Hex();

 private:
  struct Context;
  std::unique_ptr<Context> context_;
  bool failed_ = false;
};

// 32 lower-case hexadecimal digits; "" when the file cannot be read.
std::string FileMd5(const std::string& path);
std::string Md5Hex(std::string_view bytes);

}  // namespace oxlip::platform

#include "platform/md5.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/path.h"

namespace oxlip::platform {
namespace {

struct DigestFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Digest = std::unique_ptr<EVP_MD_CTX, DigestFree>;

Digest NewMd5() {
  Digest context(EVP_MD_CTX_new());
  if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) context.reset();
  return context;
}

std::string Finish(EVP_MD_CTX* context) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context, digest, &length) != 1) return "";
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < length; ++i) {
    out += kHex[digest[i] >> 4];
    out += kHex[digest[i] & 15];
  }
  return out;
}

}  // namespace

struct Md5::Context {
  Digest digest = NewMd5();
};

Md5::Md5() : context_(std::make_unique<Context>()) { failed_ = !context_->digest; }

Md5::~Md5() = default;

void Md5::Update(const char* data, std::size_t size) {
  if (!failed_ && EVP_DigestUpdate(context_->digest.get(), data, size) != 1) failed_ = true;
}

std::string Md5::Hex() {
  std::string hex = failed_ ? "" : Finish(context_->digest.get());
  context_->digest = NewMd5();
  failed_ = !context_->digest;
  return hex;
}

std::string Md5Hex(std::string_view bytes) {
  Digest context = NewMd5();
  if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) return "";
  return Finish(context.get());
}

std::string FileMd5(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(NativePath(path).c_str(), "rb"),
                                                       std::fclose);
  Digest context = NewMd5();
  if (!file || !context) return "";
  std::vector<char> buffer(1000000);
  for (;;) {
    size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (n > 0 && EVP_DigestUpdate(context.get(), buffer.data(), n) != 1) return "";
    if (n < buffer.size()) break;
  }
  if (std::ferror(file.get())) return "";
  return Finish(context.get());
}

}  // namespace oxlip::platform

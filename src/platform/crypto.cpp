#include "platform/crypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace oxlip::platform {
namespace {

struct CipherFree {
  void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};

std::string AesEcb(std::string_view key, std::string_view data, bool encrypt) {
  constexpr std::size_t kBlock = 16;
  std::size_t whole = data.size() / kBlock * kBlock;
  if (key.size() != kBlock || whole == 0) return "";
  std::unique_ptr<EVP_CIPHER_CTX, CipherFree> context(EVP_CIPHER_CTX_new());
  const auto* key_bytes = reinterpret_cast<const unsigned char*>(key.data());
  if (!context ||
      EVP_CipherInit_ex(context.get(), EVP_aes_128_ecb(), nullptr, key_bytes, nullptr,
                        encrypt ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1)
    return "";
  std::string out(whole + kBlock, '\0');
  int written = 0, last = 0;
  auto* out_bytes = reinterpret_cast<unsigned char*>(out.data());
  if (EVP_CipherUpdate(context.get(), out_bytes, &written,
                       reinterpret_cast<const unsigned char*>(data.data()),
                       static_cast<int>(whole)) != 1 ||
      EVP_CipherFinal_ex(context.get(), out_bytes + written, &last) != 1)
    return "";
  out.resize(static_cast<std::size_t>(written + last));
  return out;
}

}  // namespace

std::optional<std::string> RandomBytes(std::size_t count) {
  std::string out(count, '\0');
  if (count > 0 &&
      RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(count)) != 1)
    return std::nullopt;
  return out;
}

std::string Aes128EcbEncrypt(std::string_view key, std::string_view data) {
  return AesEcb(key, data, true);
}

std::string Aes128EcbDecrypt(std::string_view key, std::string_view data) {
  return AesEcb(key, data, false);
}

std::string Base64Encode(std::string_view data) {
  if (data.empty()) return "";
  std::string out(4 * ((data.size() + 2) / 3) + 1, '\0');
  int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                               reinterpret_cast<const unsigned char*>(data.data()),
                               static_cast<int>(data.size()));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (text.empty()) return std::string();
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out(text.size() / 4 * 3, '\0');
  int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                               reinterpret_cast<const unsigned char*>(text.data()),
                               static_cast<int>(text.size()));
  if (length < 0) return std::nullopt;
  // The block decoder counts the bytes that "=" stands for as zeros.
  std::size_t padding = 0;
  for (std::size_t i = text.size(); i > 0 && text[i - 1] == '=' && padding < 2; --i) ++padding;
  out.resize(static_cast<std::size_t>(length) - padding);
  return out;
}

}  // namespace oxlip::platform

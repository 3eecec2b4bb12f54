#include "launch/login_crypt.h"

#include <optional>
#include <string_view>

#include "platform/crypto.h"

namespace oxlip {
namespace {

constexpr std::string_view kKey("\x4f\x78\x6c\x69\x70\x9c\x21\xe3\x5a\x07\xb4\x6d\x13\xc8\x90\x2f",
                                16);
constexpr std::size_t kBlock = 16;
constexpr std::size_t kLead = 2;  // random bytes before the text

}  // namespace

std::string EncodeLogin(const launch::Credentials& credentials) {
  const std::string text = credentials.user + ":" + credentials.password;
  // Room for the lead, the text and its zero byte, and at least one random block beyond.
  const std::size_t size = ((text.size() + kLead) / kBlock + 2) * kBlock;
  std::optional<std::string> buffer = platform::RandomBytes(size);
  if (!buffer) return "";
  buffer->replace(kLead, text.size(), text);
  (*buffer)[kLead + text.size()] = '\0';
  return platform::Base64Encode(platform::Aes128EcbEncrypt(kKey, *buffer));
}

void DecodeLogin(const std::string& text, launch::Credentials& credentials) {
  std::string plain = platform::Aes128EcbDecrypt(kKey, platform::Base64Decode(text).value_or(""));
  std::string_view body;
  if (plain.size() > kLead) body = std::string_view(plain).substr(kLead);
  body = body.substr(0, body.find('\0'));
  std::size_t colon = body.find(':');
  if (colon == std::string_view::npos) {
    credentials.user.clear();
    credentials.password = std::string(body);
  } else {
    credentials.user = std::string(body.substr(0, colon));
    credentials.password = std::string(body.substr(colon + 1));
  }
}

}  // namespace oxlip

#pragma once
// The ciphers and encodings of stored credentials, through OpenSSL.
#include <optional>
#include <string>
#include <string_view>

namespace oxlip::platform {

// `count` bytes from the cryptographic generator; nullopt when it cannot give them.
std::optional<std::string> RandomBytes(std::size_t count);

// AES-128 in ECB mode, no padding: only whole 16-byte blocks are processed, a rest is dropped.
// `key` must hold 16 bytes.
std::string Aes128EcbEncrypt(std::string_view key, std::string_view data);
std::string Aes128EcbDecrypt(std::string_view key, std::string_view data);

// Standard alphabet with "+" and "/", "=" padding, no line breaks.
std::string Base64Encode(std::string_view data);
// nullopt for a text that is not Base64.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace oxlip::platform

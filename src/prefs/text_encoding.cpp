#include "prefs/text_encoding.h"

#include <cstdint>

namespace oxlip::prefs {
namespace {

// Decodes one UTF-8 sequence at `pos`; -1 when malformed (then one byte is consumed).
std::int32_t DecodeOne(std::string_view text, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  int length = lead < 0x80         ? 1
               : (lead >> 5) == 6  ? 2
               : (lead >> 4) == 14 ? 3
               : (lead >> 3) == 30 ? 4
                                   : 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return -1;
  }
  std::int32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return -1;
    }
    code = (code << 6) | (byte(pos + i) & 0x3F);
  }
  static constexpr std::int32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++pos;
    return -1;
  }
  pos += length;
  return code;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    std::int32_t code = DecodeOne(text, pos);
    out += (code < 0 || code > 0xFF) ? '?' : static_cast<char>(code);
  }
  return out;
}

std::string SanitizeUtf8(std::string_view text) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    size_t start = pos;
    if (DecodeOne(text, pos) < 0)
      out += '?';
    else
      out.append(text.substr(start, pos - start));
  }
  return out;
}

#ifdef _WIN32
std::string NarrowToUtf8(std::string_view text) { return Latin1ToUtf8(text); }
std::string Utf8ToNarrow(std::string_view text) { return Utf8ToLatin1(text); }
#else
std::string NarrowToUtf8(std::string_view text) { return std::string(text); }
std::string Utf8ToNarrow(std::string_view text) { return SanitizeUtf8(text); }
#endif

}  // namespace oxlip::prefs

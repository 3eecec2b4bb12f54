#include "versions/xml_text.h"

#include <charconv>
#include <cstdint>

namespace oxlip::versions {
namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// A character reference's code point, when `body` ("#65" or "#x41") is a valid one.
bool ParseReference(std::string_view body, std::uint32_t& code) {
  if (body.size() < 2 || body[0] != '#') return false;
  int base = 10;
  body.remove_prefix(1);
  if (body[0] == 'x' || body[0] == 'X') {
    base = 16;
    body.remove_prefix(1);
  }
  if (body.empty()) return false;
  auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), code, base);
  bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return error == std::errc() && end == body.data() + body.size() && code != 0 &&
         code <= 0x10FFFF && !surrogate;
}

bool DecodeEntity(std::string_view body, std::string& out) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [name, c] : kNamed)
    if (body == name) {
      out += c;
      return true;
    }
  std::uint32_t code = 0;
  if (!ParseReference(body, code)) return false;
  AppendUtf8(out, code);
  return true;
}

}  // namespace

std::string DecodeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
    // Entities are short; a far ";" belongs to something else.
    if (end != std::string_view::npos && end - i <= 12 &&
        DecodeEntity(text.substr(i + 1, end - i - 1), out)) {
      i = end;
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace oxlip::versions

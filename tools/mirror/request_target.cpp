#include "request_target.h"

namespace oxlip::mirror {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseQuery(std::string_view query, RequestTarget& target) {
  while (!query.empty()) {
    size_t amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    size_t eq = pair.find('=');
    std::optional<std::string> name = PercentDecode(pair.substr(0, eq), true);
    std::optional<std::string> value =
        eq == std::string_view::npos ? std::string() : PercentDecode(pair.substr(eq + 1), true);
    if (!name || !value) return false;
    target.query.emplace_back(std::move(*name), std::move(*value));
  }
  return true;
}

}  // namespace

const std::string* RequestTarget::Param(std::string_view name) const {
  for (const auto& [key, value] : query)
    if (key == name) return &value;
  return nullptr;
}

std::optional<std::string> PercentDecode(std::string_view text, bool plus_is_blank) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+' && plus_is_blank) {
      out += ' ';
    } else if (c != '%') {
      out += c;
    } else {
      if (text.size() - i < 3) return std::nullopt;
      int high = HexDigit(text[i + 1]);
      int low = HexDigit(text[i + 2]);
      if (high < 0 || low < 0 || (high == 0 && low == 0)) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return out;
}

std::optional<RequestTarget> ParseRequestTarget(std::string_view target) {
  size_t question = target.find('?');
  RequestTarget out;
  std::optional<std::string> path = PercentDecode(target.substr(0, question), false);
  if (!path) return std::nullopt;
  out.path = std::move(*path);
  if (question != std::string_view::npos && !ParseQuery(target.substr(question + 1), out))
    return std::nullopt;
  return out;
}

}  // namespace oxlip::mirror

#include "launch/login_request.h"

#include <optional>
#include <vector>

#include "platform/http.h"
#include "platform/open_file.h"
#include "platform/temp_file.h"

namespace oxlip::launch {
namespace {

// A real answer is a line of about a hundred bytes; the rest of a long one is never read, and
// a refusal's text, which the login dialog shows, stays short.
constexpr std::size_t kMostAnswer = 1024;

// The start of the answer: up to kMostAnswer bytes.
std::optional<std::string> ReadAnswerStart(const std::string& path) {
  platform::InputFile in;
  if (!in.Open(path)) return std::nullopt;
  std::string text(kMostAnswer, '\0');
  std::size_t filled = 0;
  for (std::int64_t got;
       filled < text.size() && (got = in.Read(text.data() + filled, text.size() - filled)) != 0;) {
    if (got < 0) return std::nullopt;
    filled += static_cast<std::size_t>(got);
  }
  text.resize(filled);
  return text;
}

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.' || c == '~';
}

// Replaces every `key` of the template; what was put in is not searched again.
std::string ReplaceAll(const std::string& text, std::string_view key, const std::string& value) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, from)) {
    out.append(text, from, at - from).append(value);
    from = at + key.size();
  }
  return out.append(text, from, std::string::npos);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t from = 0;;) {
    std::size_t colon = line.find(':', from);
    fields.push_back(line.substr(from, colon == std::string_view::npos ? colon : colon - from));
    if (colon == std::string_view::npos) return fields;
    from = colon + 1;
  }
}

}  // namespace

std::string UrlEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (Unreserved(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string LoginUrl(const base::GlobalSettings& settings, const Credentials& credentials) {
  std::string url = ReplaceAll(settings.MCLOGINURL, "%1%", UrlEncode(credentials.user));
  url = ReplaceAll(url, "%2%", UrlEncode(credentials.password));
  return ReplaceAll(url, "%3%", settings.MCLOGINVER);
}

int ReadLoginAnswer(std::string_view body, LoginAnswer& answer) {
  std::string_view line = body.substr(0, body.find_first_of("\r\n"));
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    answer.user_or_message = std::string(line);
    return 0;
  }
  std::vector<std::string_view> fields = Fields(line);
  answer.user_or_message = fields.size() > 2 ? std::string(fields[2]) : "";
  answer.ticket = fields.size() > 3 ? std::string(fields[3]) : "";
  return static_cast<int>(colon) + 1;
}

}  // namespace oxlip::launch

namespace oxlip {

int LoginRequest(const base::GlobalSettings& settings, const launch::Credentials& credentials,
                 launch::LoginAnswer& answer) {
  answer.answered = false;
  // A name of our own choosing in the shared temporary folder could be taken by another user
  // first; this one is created exclusively and is gone when the request is over.
  std::optional<platform::TempFile> file = platform::TempFile::Create("Oxlip");
  if (!file) return 0;
  if (!platform::DownloadToFile(launch::LoginUrl(settings, credentials), file->path())) return 0;
  std::optional<std::string> body = launch::ReadAnswerStart(file->path());
  if (!body) return 0;
  answer.answered = true;
  return launch::ReadLoginAnswer(*body, answer);
}

}  // namespace oxlip

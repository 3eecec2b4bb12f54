#include "platform/command_line.h"

namespace oxlip::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program name: no escapes, a quoted name ends at the next quote.
std::size_t ReadProgram(std::string_view line, std::string* out) {
  std::size_t i = 0;
  if (i < line.size() && line[i] == '"') {
    std::size_t end = line.find('"', 1);
    if (end == std::string_view::npos) end = line.size();
    *out = std::string(line.substr(1, end - 1));
    return end < line.size() ? end + 1 : end;
  }
  while (i < line.size() && !IsBlank(line[i])) ++i;
  *out = std::string(line.substr(0, i));
  return i;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size()) return args;
  args.emplace_back();
  i += ReadProgram(line.substr(i), &args.back());
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return args;
    std::string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      if (line[i] == '\\') {
        std::size_t count = 0;
        while (i < line.size() && line[i] == '\\') ++count, ++i;
        if (i < line.size() && line[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) arg += '"', ++i;
        } else {
          arg.append(count, '\\');
        }
      } else if (line[i] == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    args.push_back(std::move(arg));
  }
}

std::string QuoteArgument(std::string_view value) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : value) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there they are doubled, and the quote escaped.
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    out += c;
    backslashes = 0;
  }
  out.append(2 * backslashes, '\\');  // before the closing quote
  return out + '"';
}

}  // namespace oxlip::platform

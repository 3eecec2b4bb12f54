#include "options.h"

#include <cctype>
#include <string_view>

namespace oxlip::mirror {

const char kUsage[] =
    "usage: oxlip-mirror --root DIR [--port N] [--bind ADDR] [--users FILE] [--log FILE]\n"
    "                    [--delay MS] [--fault KIND:PATHPREFIX[:COUNT]]...\n"
    "Serves every sub-folder of DIR as a download bucket under /<folder>/, and a login\n"
    "endpoint for requests with a 'user' query. Prints \"port N\" once it listens.\n"
    "Fault kinds: drop, wrong, slow, 500, 404.\n";

namespace {

// A decimal number from 0 to `most`.
std::optional<int> ParseNumber(std::string_view text, int most) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int number = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number > most) return std::nullopt;
  return number;
}

// Applies one option that takes a value; false with `error` set when the value is bad.
bool ApplyOption(std::string_view name, const std::string& value, Options& options,
                 std::string& error) {
  if (name == "--root") {
    options.root = value;
  } else if (name == "--port") {
    std::optional<int> port = ParseNumber(value, 65535);
    if (!port) {
      error = "--port '" + value + "': expected a number from 0 to 65535";
      return false;
    }
    options.port = *port;
  } else if (name == "--delay") {
    std::optional<int> delay = ParseNumber(value, 60000);
    if (!delay) {
      error = "--delay '" + value + "': expected milliseconds from 0 to 60000";
      return false;
    }
    options.delay_ms = *delay;
  } else if (name == "--bind") {
    options.bind = value;
  } else if (name == "--users") {
    options.users_file = value;
  } else if (name == "--log") {
    options.log_file = value;
  } else if (name == "--fault") {
    std::optional<FaultRule> rule = ParseFaultRule(value, error);
    if (!rule) return false;
    options.faults.push_back(*rule);
  } else {
    error = "unknown option '" + std::string(name) + "'";
    return false;
  }
  return true;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view name = argv[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      return options;
    }
    if (i + 1 >= argc) {
      error = name.starts_with("--") ? "option '" + std::string(name) + "' needs a value"
                                     : "unexpected argument '" + std::string(name) + "'";
      return std::nullopt;
    }
    if (!ApplyOption(name, argv[++i], options, error)) return std::nullopt;
  }
  if (options.root.empty()) {
    error = "--root DIR is required";
    return std::nullopt;
  }
  return options;
}

}  // namespace oxlip::mirror

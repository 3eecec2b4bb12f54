#pragma once
// The command line of oxlip-mirror.
#include <optional>
#include <string>
#include <vector>

#include "faults.h"

namespace oxlip::mirror {

struct Options {
  std::string root;
  int port = 0;  // 0: any free port
  std::string bind = "127.0.0.1";
  std::string users_file;
  std::string log_file;
  std::vector<FaultRule> faults;
  int delay_ms = 0;  // waited before every answer, as a distant server would
  bool help = false;
};

extern const char kUsage[];

// nullopt with `error` set for anything the usage text does not allow.
std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error);

}  // namespace oxlip::mirror

#pragma once
// The program's command line.
#include <string>

namespace oxlip::gui {

struct ProgramOptions {
  enum class Action { kRun, kHelp, kVersion, kError };
  Action action = Action::kRun;
  std::string data;     // --data DIR; "" when not given
  std::string message;  // what --help or --version prints, or what is wrong
};

// Needs no application object and touches no file, so --help, --version and a mistake end
// without a display and without writing anything.
ProgramOptions ParseProgramOptions(int argc, char** argv);

}  // namespace oxlip::gui

#include "launch/start_game.h"

#include <optional>

#include "launch/find_java.h"
#include "launch/game_log.h"
#include "platform/command_line.h"
#include "platform/fs.h"
#include "platform/process.h"

namespace oxlip::launch {
namespace {

// A game that dies at once leaves its reason here; the run before stays beside it.
std::string GameLog(const base::GlobalSettings& settings, const Instance& record) {
  std::string log = GameLogFile(settings, record);
  if (platform::Exists(log)) {
    platform::DeleteFile(PreviousGameLog(log));
    platform::RenameFile(log, PreviousGameLog(log));
  }
  return log;
}

}  // namespace

int StartGame(const base::GlobalSettings& settings, const Instance& record, const GameLogin& login,
              RunningGame& game, const platform::Conventions& conventions) {
  std::string found_java = record.CustomJava != 0 ? "" : FindJava(conventions);
  JavaCommand command = BuildJavaCommand(settings, record, login, found_java, conventions);
  platform::ProcessStart launch_with;
  launch_with.args = platform::SplitCommandLine(command.command_line);
  launch_with.working_folder = command.working_folder;
  // The child's own: a folder opened later, or the next instance's game, must not inherit it.
  launch_with.environment = {{command.home_variable, command.home_value}};
  launch_with.output_file = GameLog(settings, record);
  std::optional<platform::Process> process = platform::Process::Start(launch_with);
  if (!process) return 0;
  int id = process->id();
  game.process = std::move(process);
  game.folder = record.Folder;
  game.name = record.Name;
  game.log_file = launch_with.output_file;
  game.window_pending = true;
  game.maximize = record.Maximize;
  return id;
}

}  // namespace oxlip::launch

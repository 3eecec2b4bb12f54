// "Show game log" on the instance of the menu, and the word about a game that ended badly.
#include <algorithm>

#include "app/app_state.h"
#include "app/command_registry.h"
#include "app/game_end_report.h"
#include "app/menus.h"
#include "launch/game_log.h"

namespace oxlip::app {
namespace {

constexpr std::size_t kShownExceptions = 3;
constexpr std::size_t kShownLineLength = 200;

std::string Cut(const std::string& line) {
  return line.size() <= kShownLineLength ? line : line.substr(0, kShownLineLength) + "...";
}

}  // namespace

std::string GameLogTitle(const std::string& instance_name) { return "Game log - " + instance_name; }

std::string GameEndText(const launch::GameEnd& end) {
  // Closed by the person or the session: whatever it printed on the way out is no news.
  if (end.on_request) return "";
  std::vector<std::string> exceptions = launch::ExceptionLines(end.log_file);
  std::string text = "The game of \"" + end.name + "\" ";
  if (end.signal != 0)
    text += "was ended by signal " + std::to_string(end.signal);
  else if (end.exit_code && *end.exit_code != 0)
    text += "ended with status " + std::to_string(*end.exit_code);
  else if (!exceptions.empty())
    text += "ended";
  else
    return "";
  if (exceptions.empty()) return text + ".";
  text += "; its last output reports:";
  // The first ones name the fault; what follows them is mostly its consequences.
  for (std::size_t i = 0; i < std::min(exceptions.size(), kShownExceptions); ++i)
    text += "\n" + Cut(exceptions[i]);
  return text;
}

void ReportGameEnd(AppState& state, Ui& ui) {
  if (!state.game.ended) return;
  launch::GameEnd end = std::move(*state.game.ended);
  state.game.ended.reset();
  std::string text = GameEndText(end);
  if (!text.empty() && ui.ShowOffer("Oxlip", text, "Show game log"))
    ui.ShowGameLog(GameLogTitle(end.name), end.log_file);
}

void RegisterGameLogCommand(CommandTable& table) {
  table.Register(kCmdShowGameLog, [](AppState& state, Ui& ui, const MenuSelection& selection) {
    if (!selection.instance) return 1;
    ui.ShowGameLog(GameLogTitle(selection.instance->Name),
                   launch::GameLogFile(state.settings, *selection.instance));
    return 1;
  });
}

}  // namespace oxlip::app

#include "launch/running_game.h"

namespace oxlip::launch {

bool GameRunsIn(RunningGame& game, const std::string& folder) {
  return game.process && game.folder == folder && !game.process->HasEnded();
}

bool GameStillRuns(RunningGame& game) {
  if (game.process && !game.process->HasEnded()) return true;
  game = RunningGame();
  return false;
}

}  // namespace oxlip::launch

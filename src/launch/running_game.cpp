#include "launch/running_game.h"

namespace oxlip::launch {

bool GameRunsIn(RunningGame& game, const std::string& folder) {
  return game.process && game.folder == folder && !game.process->HasEnded();
}

}  // namespace oxlip::launch

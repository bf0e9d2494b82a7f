#include "engine/game.h"

namespace quibbix::engine {

void Game::NewGame() {}
void Game::NextLevel() {}

}  // namespace quibbix::engine

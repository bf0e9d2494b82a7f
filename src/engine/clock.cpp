#include "engine/game.h"

namespace quibbix::engine {

void Game::Timer() {}
void Game::LoseGame(int, int) {}
void Game::bringNextCrate() {}

}  // namespace quibbix::engine

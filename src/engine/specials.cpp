#include "engine/game.h"

namespace quibbix::engine {

void Game::TriggerSpecial(int) {}
void Game::pull(int, int) {}
void Game::removeEquals(int) {}
void Game::shuffle(int) {}

}  // namespace quibbix::engine

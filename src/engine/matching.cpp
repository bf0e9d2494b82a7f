#include "engine/game.h"

namespace quibbix::engine {

void Game::ResolveMatch(int) {}
void Game::RemoveTriple(int) {}
void Game::RemoveSequence(int) {}
void Game::RemovePair(int) {}

}  // namespace quibbix::engine

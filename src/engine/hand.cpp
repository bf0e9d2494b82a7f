#include "engine/game.h"

namespace quibbix::engine {

int chuteForPress(int) { return -1; }
int chuteForRelease(int) { return 3; }
bool inPictureArea(int, int) { return false; }
void Game::MouseDown(Button, int, int) {}
void Game::MouseMove(int) {}
void Game::boxMouseUp(int) {}
void Game::boxClick() {}
void Game::Pause() {}

}  // namespace quibbix::engine

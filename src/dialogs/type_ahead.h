#pragma once

namespace quibbix::dialogs {

// Throws away the keys, clicks and shortcuts the player sent before this
// moment that the program has not handled yet: a window that opens on its
// own (the game is over) must not take keys that were meant for the game.
// Everything else waiting is handled as usual.
void dropPendingInput();

}  // namespace quibbix::dialogs

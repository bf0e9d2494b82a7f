#pragma once

namespace quibbix::dialogs {

// Throws away the keys, clicks and shortcuts the player sent before this
// moment that the program has not handled yet: a window that opens on its
// own (the game is over) must not take keys that were meant for the game.
// Everything else waiting is handled as usual.
void dropPendingInput();

// The same, where a window system queues input the program has not fetched
// yet (X11); elsewhere everything waiting has already been delivered and
// nothing is done.
void dropQueuedInput();

}  // namespace quibbix::dialogs

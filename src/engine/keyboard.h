#pragma once
// Playing without a mouse. The keyboard points at one chute, the cursor chute, and every
// game key is a mouse event at that chute handed to the game's own mouse handlers, so
// pause, game over, the full hand, the full chute and the one-way crate rule it exactly
// as they rule the mouse.

#include "engine/game.h"

namespace quibbix::engine {

enum class GameKey {
  Left,   // the cursor one chute left; with a crate in the hand, a move there
  Right,  // the same to the right
  Take,   // empty hand: a left press over the cursor chute; else the release over the hand
  Act,    // a right press over the cursor chute and its release
  Next,   // a press on the picture
  Pause,  // the pause command while running, the resuming click while paused
};

// Where a key's pointer is: over the middle of chute c, beside the picture.
constexpr int keyPointerX(int chute) { return slotX(chute) + 27; }
constexpr int kKeyPointerY = 200;
// A point of the picture, for the next-crate key.
constexpr int kPicturePressX = 414;
constexpr int kPicturePressY = 250;

class Keyboard {
 public:
  Keyboard(Game& game, Drawing& drawing) : game_(game), drawing_(drawing) {}

  // A game key: its mouse events go to the game, then the marker shows the cursor chute.
  void press(GameKey key);
  // The mouse pressed or released on the field: the marker goes until the next game key.
  void mouseUsed();
  // The mouse moved on the field; when it carried the hand away, the marker goes.
  void mouseMoved();
  // The whole field was rebuilt from the model: a marker on show is drawn again.
  void fieldRepainted();

  int cursor() const { return cursor_; }
  bool markerShown() const { return shown_ >= 0; }

 private:
  void showMarkerAtCursor();
  void hideMarker();

  Game& game_;
  Drawing& drawing_;
  int cursor_ = 0;
  // The chute under which the marker is drawn; -1: none.
  int shown_ = -1;
};

}  // namespace quibbix::engine

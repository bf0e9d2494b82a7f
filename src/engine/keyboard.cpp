#include "engine/keyboard.h"

namespace quibbix::engine {

void Keyboard::press(GameKey key) {
  GameState& s = game_.state();
  // A crate in the hand is where the keyboard acts, wherever the mouse last carried it.
  if (s.HeldCrate != 0) cursor_ = s.HeldFrom;
  const bool pausedBefore = s.Paused;
  switch (key) {
    case GameKey::Left:
    case GameKey::Right: {
      const int to = cursor_ + (key == GameKey::Left ? -1 : 1);
      if (to < 0 || to >= kChutes) break;
      if (s.HeldCrate != 0)
        game_.MouseMove(keyPointerX(to));  // the cursor follows the hand below, or stays
      else
        cursor_ = to;
      break;
    }
    case GameKey::Take:
      if (s.HeldCrate == 0)
        game_.MouseDown(Button::Left, keyPointerX(cursor_), kKeyPointerY);
      else
        game_.boxMouseUp(keyPointerX(s.HeldFrom));
      break;
    case GameKey::Act:
      // The release belongs to the press and comes after the whole action, as the
      // mouse's does: it drops a crate that a pull left in the hand onto this chute.
      game_.MouseDown(Button::Right, keyPointerX(cursor_), kKeyPointerY);
      game_.boxMouseUp(keyPointerX(cursor_));
      break;
    case GameKey::Next: game_.MouseDown(Button::Left, kPicturePressX, kPicturePressY); break;
    case GameKey::Pause:
      // Resuming drops nothing: a crate in the hand waits for the next Take, and is
      // drawn again over its chute, so the player sees what the next Take drops.
      if (s.Paused) {
        game_.boxClick();
        game_.drawHeldCrate();
      } else {
        game_.Pause();
      }
      break;
  }
  if (s.HeldCrate != 0) cursor_ = s.HeldFrom;
  // Pausing and resuming rebuild the whole field, marker strip included.
  if (s.Paused != pausedBefore) shown_ = -1;
  showMarkerAtCursor();
}

void Keyboard::mouseUsed() { hideMarker(); }

void Keyboard::mouseMoved() {
  const GameState& s = game_.state();
  if (s.HeldCrate != 0 && s.HeldFrom != cursor_) hideMarker();
}

void Keyboard::fieldRepainted() {
  if (shown_ < 0) return;
  shown_ = -1;
  showMarkerAtCursor();
}

void Keyboard::showMarkerAtCursor() {
  if (shown_ == cursor_) return;
  if (shown_ >= 0) drawing_.drawMarker(slotX(shown_), false);
  drawing_.drawMarker(slotX(cursor_), true);
  shown_ = cursor_;
  drawing_.present();
}

void Keyboard::hideMarker() {
  if (shown_ < 0) return;
  drawing_.drawMarker(slotX(shown_), false);
  shown_ = -1;
  drawing_.present();
}

}  // namespace quibbix::engine

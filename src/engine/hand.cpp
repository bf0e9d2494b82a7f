#include "engine/game.h"

namespace quibbix::engine {

namespace {

// Each zone spans a chute and the gap to its right.
constexpr int kZoneEnd[kChutes] = {113, 189, 265, 341};

}  // namespace

int chuteForPress(int x) {
  for (int c = 0; c < kChutes; ++c)
    if (x <= kZoneEnd[c]) return c;
  return -1;
}

int chuteForRelease(int x) {
  // While the button is held the field keeps the pointer, so a release far to the right
  // still belongs to the last chute.
  const int c = chuteForPress(x);
  return c < 0 ? kChutes - 1 : c;
}

bool inPictureArea(int x, int y) {
  // The picture starts at (354, 190), but its first column and row do not count.
  return x >= 355 && x <= 473 && y >= 191 && y <= 309;
}

void Game::MouseDown(Button button, int x, int y) {
  if (s_.GameOver || s_.Paused) return;
  if (inPictureArea(x, y)) {
    // Any button, even with a full hand; the clock's rhythm is not touched.
    bringNextCrate();
  } else {
    const int c = chuteForPress(x);
    if (c >= 0 && s_.HeldCrate == 0 && s_.StackHeight[c] > 0) {
      if (button == Button::Left)
        PickUp(c);
      else
        TriggerSpecial(c);
    }
  }
  p_.drawing.present();
}

void Game::MouseMove(int x) {
  if (s_.GameOver || s_.Paused) return;
  const int c = chuteForPress(x);
  if (c < 0 || s_.HeldCrate == 0 || c == s_.HeldFrom) return;
  // The one-way crate travels rightwards while positive, leftwards while negative.
  if (s_.HeldCrate == kOneWay && c < s_.HeldFrom) return;
  if (s_.HeldCrate == -kOneWay && c > s_.HeldFrom) return;
  drawHand(0);
  PlayCue(Cue::HandMoves);
  s_.HeldFrom = c;
  drawHand(s_.HeldCrate);
  p_.drawing.present();
}

void Game::boxMouseUp(int x) {
  if (s_.GameOver || s_.Paused) return;
  const int over = chuteForRelease(x);
  if (s_.HeldCrate == 0) return;
  int target = over;
  // Released on its forbidden side, the one-way crate lands where it hovers.
  if (s_.HeldCrate == kOneWay && over <= s_.HeldFrom) target = s_.HeldFrom;
  if (s_.HeldCrate == -kOneWay && over >= s_.HeldFrom) target = s_.HeldFrom;
  if (target < 0 || target >= kChutes) return;
  // Refused onto a full chute: the crate stays in the hand for a later release.
  if (s_.StackHeight[target] >= kFullHeight) return;
  DropHeld(target);
  ResolveMatch(target);
  p_.drawing.present();
}

void Game::drawHeldCrate() {
  if (s_.GameOver || s_.Paused || s_.HeldCrate == 0) return;
  drawHand(s_.HeldCrate);
  p_.drawing.present();
}

void Game::boxClick() {
  // The GUI raises the click before the release of the same button, so a resuming click's
  // release is then handled with the game running.
  if (!s_.Paused) return;
  s_.Paused = false;
  Paint();
  p_.host.setPauseTextVisible(false);
  p_.drawing.present();
}

void Game::Pause() {
  if (s_.GameOver || s_.Paused) return;
  s_.Paused = true;
  Paint();
  p_.host.setPauseTextVisible(true);
  p_.drawing.present();
}

}  // namespace quibbix::engine

#include "engine/game.h"

namespace quibbix::engine {

void Game::PushCrate(int c, int code) {
  if (!validChute(c) || s_.StackHeight[c] >= kSlots) return;
  auto& stack = s_.Stacks[c];
  const int h = ++s_.StackHeight[c];
  for (int k = h - 1; k > 0; --k) stack[k] = stack[k - 1];
  stack[0] = code;
  for (int s = 1; s <= h; ++s) DrawSlot(c, s);
}

void Game::PickUp(int c) {
  if (!validChute(c) || s_.StackHeight[c] == 0 || s_.HeldCrate != 0) return;
  const int h = s_.StackHeight[c];
  s_.HeldCrate = s_.Stacks[c][h - 1];
  --s_.StackHeight[c];
  s_.HeldFrom = c;
  drawHand(s_.HeldCrate);
  PlayCue(Cue::PickUp);
  p_.drawing.drawCrate(slotX(c), slotY(h), 0);
  s_.Stacks[c][h - 1] = 0;
}

void Game::DropHeld(int c) {
  if (s_.HeldCrate == 0 || !validChute(c) || s_.StackHeight[c] >= kSlots) return;
  drawHand(0);
  PlayCue(Cue::Drop);
  const int h = s_.StackHeight[c] + 1;
  p_.drawing.drawCrate(slotX(c), slotY(h), s_.HeldCrate);
  s_.StackHeight[c] = h;
  s_.Stacks[c][h - 1] = s_.HeldCrate;
  s_.HeldCrate = 0;
}

void Game::LaunchTop(int c) {
  if (!validChute(c) || s_.StackHeight[c] == 0) return;
  const int h = s_.StackHeight[c];
  const int code = s_.Stacks[c][h - 1];
  --s_.StackHeight[c];
  for (int s = h + 1; s <= kSlots; ++s) {
    PlayCue(Cue::Step);
    p_.drawing.drawCrate(slotX(c), slotY(s), code);
    p_.drawing.drawCrate(slotX(c), slotY(s - 1), 0);
    WaitMs(50);
  }
  PlayCue(Cue::Step);
  p_.drawing.drawCrate(slotX(c), slotY(kSlots), 0);
  s_.Stacks[c][h - 1] = 0;
  if (s_.HeldCrate != 0) drawHand(s_.HeldCrate);
}

void Game::VanishTop(int c) {
  if (!validChute(c) || s_.StackHeight[c] == 0) return;
  const int h = s_.StackHeight[c];
  s_.Stacks[c][h - 1] = 0;
  --s_.StackHeight[c];
  for (int i = 9; i <= 15; ++i) {
    p_.drawing.andCrateCell(slotX(c), slotY(h), 4, i);
    WaitMs(10);
  }
}

void Game::ChangeCovered(int delta) {
  int covered = s_.CoveredCount + delta;
  if (covered < 0) covered = 0;
  if (covered > s_.PictureTileCount) covered = s_.PictureTileCount;
  s_.CoveredCount = covered;
  DrawPicture();
}

void Game::PlayCue(Cue cue) {
  const int n = static_cast<int>(cue);
  if (n < 1 || n > kCues || !p_.host.soundOn()) return;
  p_.cues.play(n);
}

void Game::WaitMs(int ms) {
  p_.drawing.present();
  if (ms < 0) ms = 0;
  const std::uint32_t start = p_.clock.tickMs();
  // Unsigned difference: the counter's wrap-around neither shortens nor lengthens the wait.
  while (static_cast<std::uint32_t>(p_.clock.tickMs() - start) <= static_cast<std::uint32_t>(ms)) {
  }
}

int Game::Random(int n) { return n <= 0 ? 0 : p_.random.below(n); }

void Game::DrawSlot(int c, int s) {
  if (!validChute(c) || s < 1 || s > kSlots) return;
  p_.drawing.drawCrate(slotX(c), slotY(s), s_.Stacks[c][s - 1]);
}

void Game::DrawScoreboard() { p_.drawing.drawScoreboard(s_.Level, s_.Score); }

void Game::DrawPicture() {
  p_.drawing.drawPicture(s_.PictureIndex, s_.TileOrder.data(), s_.CoveredCount);
}

void Game::Paint() {
  p_.drawing.drawBackground();
  for (int c = 0; c < kChutes; ++c)
    for (int s = 1; s <= kSlots; ++s) DrawSlot(c, s);
  DrawScoreboard();
  DrawPicture();
}

void Game::dissolveAll() {
  for (int c = 0; c < kChutes; ++c) {
    const int n = s_.StackHeight[c];
    for (int i = 0; i < n; ++i) VanishTop(c);
  }
}

}  // namespace quibbix::engine

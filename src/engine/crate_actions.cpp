#include <utility>

#include "engine/game.h"

namespace quibbix::engine {

// The right press on a chute sets off the action of its top crate. The timer stays
// off for the whole action so no tick can blink or push a crate into the middle of it.
void Game::TriggerSpecial(int n) {
  p_.host.setTimerEnabled(false);
  if (validChute(n) && s_.StackHeight[n] > 0) {
    const int k = s_.Stacks[n][s_.StackHeight[n] - 1];
    switch (crateKind(k)) {
      case kMoney13:
      case kMoney31:
      case kMoney53:
      case kMoney97: {
        static constexpr int kCashIn[] = {13, 31, 53, 97};
        LaunchTop(n);
        PlayCue(Cue::CashIn);
        s_.Score += kCashIn[crateKind(k) - kMoney13];
        DrawScoreboard();
        break;
      }
      case kPlusMinus:
        LaunchTop(n);
        // The phase at the press decides: PLUS uncovers, MINUS covers again.
        if (k > 0) {
          ChangeCovered(-3);
          PlayCue(Cue::Uncover);
        } else {
          ChangeCovered(+3);
          PlayCue(Cue::Cover);
        }
        if (s_.CoveredCount < 1) NextLevel();
        break;
      case kBomb:
        // On a short chute the surplus passes find nothing but still sound.
        for (int i = 0; i < 3; ++i) {
          PlayCue(Cue::Vanish);
          VanishTop(n);
        }
        break;
      case kDynamite: {
        const int m = s_.StackHeight[n];
        for (int i = 0; i < m; ++i) {
          PlayCue(Cue::Vanish);
          VanishTop(n);
        }
        break;
      }
      case kMagnet: pull(n, k); break;
      case kWave: shuffle(n); break;
      case kCreature: removeEquals(n); break;
      case kRat:
        PlayCue(Cue::CoverAgain);
        VanishTop(n);
        // Covering again never wins a level, so there is nothing to test afterwards.
        ChangeCovered(Random(5) + 1);
        break;
      case kPistol:
        PlayCue(Cue::ClearTops);
        VanishTop(n);
        for (int c = 0; c < kChutes; ++c) VanishTop(c);
        break;
      default:
        // The one-way crate only restricts the hand; ordinary crates and the specials
        // never produced have no action.
        break;
    }
  }
  p_.host.setTimerEnabled(true);
  p_.drawing.present();
}

// The magnet pulls the neighbour's top crates over, one pass per crate: each pass drops
// what the previous pass picked up, then picks up the next. The crate of the last pass
// stays in the hand for the release that follows the press.
void Game::pull(int n, int k) {
  const int b = k > 0 ? n - 1 : n + 1;
  VanishTop(n);
  // Chute 0 never serves as a neighbour, whichever side the magnet points to.
  if (b < 1 || b >= kChutes || s_.StackHeight[b] == 0) return;
  if (s_.StackHeight[n] < 12) PlayCue(Cue::Pull);
  for (int r = 1; r <= 3; ++r) {
    if (s_.StackHeight[n] >= kFullHeight) {
      // The pushed crate carries the pass number as its code.
      endGame(n, r, Overflow::ByMagnet);
      return;
    }
    WaitMs(50);
    DropHeld(n);
    WaitMs(50);
    PickUp(b);
  }
}

void Game::shuffle(int n) {
  VanishTop(n);
  const int h = s_.StackHeight[n];
  if (h <= 1) return;
  auto& stack = s_.Stacks[n];
  for (int pass = 0; pass < 5; ++pass) {
    PlayCue(Cue::Shuffle);
    for (int t = 0; t < 10 * h; ++t) {
      const int i = Random(h) + 1;
      const int j = Random(h) + 1;
      if (i < 1 || i > h || j < 1 || j > h) continue;
      std::swap(stack[i - 1], stack[j - 1]);
      DrawSlot(n, i);
      DrawSlot(n, j);
    }
    WaitMs(100);
  }
}

// Equal means the stored code: kind and blink phase. The crate below the creature sets the
// code and is removed itself like every other match.
void Game::removeEquals(int n) {
  PlayCue(Cue::RemoveEquals);
  VanishTop(n);
  if (s_.StackHeight[n] == 0) return;
  const int v = s_.Stacks[n][s_.StackHeight[n] - 1];
  for (int j = 0; j < kChutes; ++j) {
    auto& stack = s_.Stacks[j];
    // Scanning from the top down, a removal moves only crates that were already scanned.
    for (int s = s_.StackHeight[j]; s >= 1; --s) {
      if (stack[s - 1] != v) continue;
      const int top = s_.StackHeight[j];
      for (int t = s; t < top; ++t) stack[t - 1] = stack[t];
      stack[top - 1] = 0;
      --s_.StackHeight[j];
      for (int t = s; t <= top; ++t) DrawSlot(j, t);
      WaitMs(50);
    }
  }
}

}  // namespace quibbix::engine

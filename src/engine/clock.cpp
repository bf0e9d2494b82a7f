#include <algorithm>

#include "engine/game.h"

namespace quibbix::engine {

namespace {

// Ticks between two sign flips of a special crate; 0 for crates that never blink.
int blinkPhase(int code) {
  const int kind = crateKind(code);
  switch (kind) {
    case kMoney13: return 3;
    case kMoney31: return 4;
    case kMoney53: return 5;
    case kMoney97: return 6;
    case kPlusMinus: return 4;
    case kOneWay: return 9;
    default: return isSpecial(kind) ? 6 : 0;
  }
}

constexpr int kTicksPerCrate = 20;

}  // namespace

void Game::Timer() {
  // A paused or finished game loses the tick; the counter stays frozen.
  if (s_.GameOver || s_.Paused) return;
  // Off for the whole run, the game-over dialogs included, so no tick re-enters;
  // switching it on at the end restarts the interval.
  p_.host.setTimerEnabled(false);

  // The counter before this tick's increment decides, so a level's first tick flips every
  // special crate.
  for (int c = 0; c < kChutes; ++c) {
    for (int s = 1; s <= s_.StackHeight[c] && s <= kSlots; ++s) {
      auto& code = s_.Stacks[c][s - 1];
      const int phase = blinkPhase(code);
      if (phase != 0 && s_.TickCounter % phase == 0) {
        code = -code;
        DrawSlot(c, s);
      }
    }
  }

  ++s_.TickCounter;
  if (s_.TickCounter % kTicksPerCrate == 0) bringNextCrate();

  p_.host.setTimerEnabled(true);
  p_.drawing.present();
}

void Game::bringNextCrate() {
  // The chute first, then its code: the generator looks at the chute it fills.
  const int chute = std::clamp(Random(kChutes), 0, kChutes - 1);
  const int code = NextCrateCode(chute);
  if (s_.StackHeight[chute] < kFullHeight) {
    PlayCue(Cue::NewCrate);
    PushCrate(chute, code);
  } else {
    LoseGame(chute, code);
  }
}

void Game::LoseGame(int chute, int code) { endGame(chute, code, Overflow::ByNewCrate); }

void Game::endGame(int chute, int code, Overflow by) {
  // Set first: the dialogs below run their own event loop, and every handler must ignore
  // the board from now on.
  s_.GameOver = true;
  PushCrate(chute, code);
  WaitMs(50);
  PlayCue(Cue::Overflow);
  dissolveAll();
  if (by == Overflow::ByNewCrate && s_.HeldCrate != 0) {
    s_.HeldCrate = 0;
    drawHand(0);
  }
  // The emptied board must be on screen while the dialogs wait for the player.
  p_.drawing.present();
  p_.host.showGameOverMessage();
  if (s_.Score > 0) {
    if (by == Overflow::ByNewCrate) p_.drawing.present();
    p_.host.offerHighScore(s_.Score);
  }
}

}  // namespace quibbix::engine

#include <algorithm>
#include <array>
#include <optional>

#include "engine/game.h"

namespace quibbix::engine {

namespace {

constexpr int kFrameMs = 50;
constexpr int kBlinks = 4;
constexpr int kSequencePoints = 333;
constexpr int kPairPoints = 77;
// The crate that never takes part in a group.
constexpr int kUnmatchable = kPlusMinus;

// The specials other than the money crates and the unmatchable one.
constexpr bool isPlainSpecial(int kind) {
  return isSpecial(kind) && !isMoneyCrate(kind) && kind != kUnmatchable;
}

int triplePoints(int kind) {
  if (isOrdinary(kind) || isPairCrate(kind)) return 3;
  switch (kind) {
    case kMoney13: return 117;
    case kMoney31: return 279;
    case kMoney53: return 477;
    case kMoney97: return 873;
    default: return isPlainSpecial(kind) ? 9 : 0;
  }
}

// The cue after a triple's animation, if the kind has one.
std::optional<Cue> tripleCue(int kind) {
  if (isMoneyCrate(kind)) return Cue::Sequence;
  if (isOrdinary(kind) || isPairCrate(kind) || isPlainSpecial(kind)) return Cue::Triple;
  return std::nullopt;
}

bool isSequence(int a, int b, int c) {
  std::array<int, 3> kinds{a, b, c};
  std::sort(kinds.begin(), kinds.end());
  static_assert(kLastNameCrate - kFirstNameCrate == 2, "the sequence is three name crates");
  return kinds == std::array<int, 3>{kFirstNameCrate, kFirstNameCrate + 1, kLastNameCrate};
}

}  // namespace

void Game::ResolveMatch(int c) {
  if (c < 0 || c >= kChutes) return;
  const int h = s_.StackHeight[c];
  if (h < 1 || h > kSlots) return;
  const auto& stack = s_.Stacks[c];
  const int top = crateKind(stack[h - 1]);
  if (top == kUnmatchable) return;

  if (h >= 3) {
    const int second = crateKind(stack[h - 2]);
    const int third = crateKind(stack[h - 3]);
    if (top == second && second == third) {
      s_.Score += triplePoints(top);
      RemoveTriple(c);
      DrawScoreboard();
      if (const std::optional<Cue> cue = tripleCue(top)) PlayCue(*cue);
      ChangeCovered(-1);
      if (s_.CoveredCount < 1) NextLevel();
      return;
    }
    if (isSequence(top, second, third)) {
      s_.Score += kSequencePoints;
      RemoveSequence(c);
      DrawScoreboard();
      PlayCue(Cue::Sequence);
      return;
    }
  }
  if (h >= 2 && top == kPairUpper && crateKind(stack[h - 2]) == kPairLower) {
    s_.Score += kPairPoints;
    RemovePair(c);
    DrawScoreboard();
    PlayCue(Cue::Triple);
    WaitMs(kFrameMs);
    PlayCue(Cue::Triple);
  }
}

// The removals read their codes first and lower the chute at once, but clear its entries
// only when the last frame is drawn.

void Game::blinkGroup(int c, int h, const int* codes, int n) {
  const int x = slotX(c);
  for (int i = 0; i < kBlinks; ++i) {
    PlayCue(Cue::Step);
    for (int k = 0; k < n; ++k) p_.drawing.drawCrate(x, slotY(h - k), 0);
    WaitMs(kFrameMs);
    PlayCue(Cue::Step);
    for (int k = 0; k < n; ++k) p_.drawing.drawCrate(x, slotY(h - k), codes[k]);
    WaitMs(kFrameMs);
  }
}

void Game::liftGroup(int c, int h, const int* codes, int n) {
  const int x = slotX(c);
  auto draw = [&](int s, int code) { p_.drawing.drawCrate(x, slotY(s), code); };
  // Rise until the top crate stands in the hand row, then leave it one crate at a time.
  for (int s = h; s < kSlots; ++s) {
    PlayCue(Cue::Step);
    for (int k = 0; k < n; ++k) draw(s + 1 - k, codes[k]);
    draw(s + 1 - n, 0);
    WaitMs(kFrameMs);
  }
  for (int left = 1; left <= n; ++left) {
    if (left > 1) WaitMs(kFrameMs);
    PlayCue(Cue::Step);
    for (int k = left; k < n; ++k) draw(kSlots - (k - left), codes[k]);
    draw(kSlots - (n - left), 0);
  }
}

void Game::RemoveTriple(int c) {
  if (c < 0 || c >= kChutes) return;
  const int h = s_.StackHeight[c];
  if (h < 3 || h > kSlots) return;
  const int t = s_.Stacks[c][h - 1];
  const int codes[3] = {t, t, t};
  s_.StackHeight[c] = h - 3;
  const int x = slotX(c);
  auto draw = [&](int s, int code) { p_.drawing.drawCrate(x, slotY(s), code); };

  blinkGroup(c, h, codes, 3);
  // Three equal crates: each frame only moves the top one up and clears below them.
  for (int s = h; s < kSlots; ++s) {
    PlayCue(Cue::Step);
    draw(s + 1, t);
    draw(s - 2, 0);
    WaitMs(kFrameMs);
  }
  // Then the three vanish from the top slots, the lowest first.
  PlayCue(Cue::Step);
  draw(kSlots - 2, 0);
  WaitMs(kFrameMs);
  PlayCue(Cue::Step);
  draw(kSlots - 1, 0);
  WaitMs(kFrameMs);
  PlayCue(Cue::Step);
  draw(kSlots, 0);

  for (int s = h; s > h - 3; --s) s_.Stacks[c][s - 1] = 0;
}

void Game::RemoveSequence(int c) {
  if (c < 0 || c >= kChutes) return;
  const int h = s_.StackHeight[c];
  if (h < 3 || h > kSlots) return;
  const int codes[3] = {s_.Stacks[c][h - 1], s_.Stacks[c][h - 2], s_.Stacks[c][h - 3]};
  s_.StackHeight[c] = h - 3;
  blinkGroup(c, h, codes, 3);
  liftGroup(c, h, codes, 3);
  for (int s = h; s > h - 3; --s) s_.Stacks[c][s - 1] = 0;
}

void Game::RemovePair(int c) {
  if (c < 0 || c >= kChutes) return;
  const int h = s_.StackHeight[c];
  if (h < 2 || h > kSlots) return;
  // Whatever the chute holds, the pair is always shown as its two halves.
  const int codes[2] = {kPairUpper, kPairLower};
  s_.StackHeight[c] = h - 2;
  blinkGroup(c, h, codes, 2);
  liftGroup(c, h, codes, 2);
  s_.Stacks[c][h - 1] = 0;
  s_.Stacks[c][h - 2] = 0;
}

}  // namespace quibbix::engine

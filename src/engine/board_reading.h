#pragma once
// The board as someone who cannot see it reads it: what each chute holds from
// the top down, the hand, the counters and the picture, in one plain value that
// two moments of the game can be compared by.

#include <array>
#include <cstdint>

#include "engine/game.h"

namespace quibbix::engine {

struct BoardReading {
  int level = 0;
  int score = 0;
  bool paused = false;
  bool gameOver = false;
  // crates[c][i] is the kind of the i-th crate of chute c from the top; count[c] of them.
  // Kinds, not codes: a special crate's blinking changes nothing a listener needs.
  std::array<std::array<std::int32_t, kSlots>, kChutes> crates{};
  std::array<int, kChutes> count{};
  // The kind in the hand (0: empty) and the chute the hand is over.
  std::int32_t held = 0;
  int heldOver = 0;
  // The keyboard's chute.
  int cursor = 0;
  int covered = 0;
  int tiles = 0;

  bool operator==(const BoardReading&) const = default;
};

BoardReading readBoard(const GameState& s, int cursor);

// The parts of a reading that differ between two moments.
struct BoardChanges {
  bool score = false;
  bool level = false;
  bool state = false;  // paused or game over
  std::array<bool, kChutes> chute{};
  bool hand = false;
  bool cursor = false;
  bool picture = false;

  bool any() const;
};

BoardChanges compare(const BoardReading& before, const BoardReading& after);

}  // namespace quibbix::engine

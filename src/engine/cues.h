#pragma once

#include "engine/rules.h"

namespace quibbix::engine {

// The game's cues by what they accompany. The value is the number the cue
// player knows a cue by (assets/cues/cueNN.wav); the numbers are fixed.
enum class Cue : int {
  PickUp = 1,         // a crate taken from a chute into the hand
  HandMoves = 2,      // the hand carrying a crate moves over to another chute
  Drop = 3,           // the held crate put down on a chute
  Step = 4,           // one frame of a crate rising, leaving or blinking
  Cover = 5,          // MINUS covers three tiles of the picture again
  Uncover = 6,        // PLUS uncovers three tiles
  CashIn = 7,         // a money crate cashed in
  Triple = 8,         // three equal crates, and each half of a pair
  Sequence = 9,       // a sequence, and three equal money crates
  Shuffle = 10,       // one pass of the shuffle
  NewCrate = 11,      // a crate pushed in by the clock or dealt at a level's start
  NextLevel = 12,     // a level won
  Vanish = 13,        // one crate blown off by the bomb crates
  Pull = 14,          // the magnet pulls a neighbour's crates over
  ClearTops = 15,     // the top crate of every chute vanishes
  RemoveEquals = 16,  // every crate equal to the one below it vanishes
  CoverAgain = 17,    // some tiles of the picture covered again
  Overflow = 18,      // a chute overflows: the game is lost
};

// A new cue goes at the end, and kCues (engine/rules.h) grows with it.
static_assert(static_cast<int>(Cue::Overflow) == kCues, "the last cue is cue kCues");

}  // namespace quibbix::engine

#pragma once
// The rules' numbers and the kinds of crate, written once. The engine, the drawing
// side, the generators and the tests read them from here, so a change of a rule is
// made in one place.

namespace quibbix::engine {

// The chutes: four side by side, slots 1..15 from the bottom.
constexpr int kChutes = 4;
constexpr int kSlots = 15;
// A chute holding this many is full: a new crate for it ends the game, and the hand may
// not drop onto it. The 15th slot exists only for the crate that loses the game.
constexpr int kFullHeight = 14;

// Kinds of crate. A crate's code is its kind, except that a special crate's code is
// negative in its alternate blink phase; 0 is an empty slot.
constexpr int crateKind(int code) { return code < 0 ? -code : code; }

// Ordinary kinds, matched as triples; which design stands for which kind is chosen
// anew for each game.
constexpr int kFirstOrdinary = 1;
constexpr int kLastOrdinary = 31;
// Name crates: the three vanish together when they lie on top in any order.
constexpr int kFirstNameCrate = 32;
constexpr int kLastNameCrate = 34;
// Pair crates: the upper half lying directly on the lower half is a match.
constexpr int kPairUpper = 35;
constexpr int kPairLower = 36;
// Special crates blink, and most have an action on a right press. 50..62 occur in play;
// 63..65 belong to the range (they blink and match like the others) but no rule
// produces them.
constexpr int kFirstSpecial = 50;
constexpr int kLastProducedSpecial = 62;
constexpr int kLastSpecial = 65;

// The special kinds one by one.
constexpr int kMoney13 = 50;    // cashed in for 13 points
constexpr int kMoney31 = 51;    // 31
constexpr int kMoney53 = 52;    // 53
constexpr int kMoney97 = 53;    // 97
constexpr int kPlusMinus = 54;  // uncovers or covers three tiles; never matched
constexpr int kOneWay = 55;     // the hand carries it only one way
constexpr int kBomb = 56;       // dissolves itself and the two below it
constexpr int kDynamite = 57;   // dissolves its whole chute
constexpr int kMagnet = 58;     // pulls a neighbour's crates over
constexpr int kWave = 59;       // shuffles its chute
constexpr int kCreature = 60;   // removes every crate equal to the one below it
constexpr int kRat = 61;        // covers one to five tiles again
constexpr int kPistol = 62;     // shoots the top crate off every chute

constexpr bool isOrdinary(int kind) { return kind >= kFirstOrdinary && kind <= kLastOrdinary; }
constexpr bool isNameCrate(int kind) { return kind >= kFirstNameCrate && kind <= kLastNameCrate; }
constexpr bool isPairCrate(int kind) { return kind == kPairUpper || kind == kPairLower; }
constexpr bool isSpecial(int kind) { return kind >= kFirstSpecial && kind <= kLastSpecial; }
constexpr bool isMoneyCrate(int kind) { return kind >= kMoney13 && kind <= kMoney97; }
constexpr bool isNeverProduced(int kind) {
  return kind > kLastProducedSpecial && kind <= kLastSpecial;
}

// The sound cues are numbered 1..kCues (engine/cues.h names them).
constexpr int kCues = 18;

}  // namespace quibbix::engine
